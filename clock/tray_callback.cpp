#include <cmath>

#include "clock/clock_window.h"
#include "core/application.h"

namespace zdz {

int DecodeIconMessage(double xTwips, double twipsPerPixel) {
  // Both rounded half to even (the default rounding mode), then integer division.
  const long x = std::lrint(xTwips);
  const long ratio = std::lrint(twipsPerPixel);
  if (ratio <= 0) return 0;
  return static_cast<int>(x / ratio);
}

void ClockWindow::OnIconMessage(int /*button*/, int /*shift*/, double xTwips, double /*yTwips*/) {
  switch (DecodeIconMessage(xTwips, app_.Desk().Sys().TwipsPerPixelX())) {
    case kWmLButtonDown:
      form_.PopupMenu("menFILE");
      break;
    case kWmLButtonDblClk:
      form_.PopupMenu("menVER");
      break;
    case kWmRButtonDown:
      form_.PopupMenu("menSET");
      break;
    default:
      break;  // releases and plain movement
  }
}

}  // namespace zdz
