// ClockWindow::OnMouseMove: the notification icon's mouse messages open the pop-up menus.
#include "clock/clock_window.h"
#include "core/application.h"
#include "core/icon_message.h"

namespace zdz {

void ClockWindow::OnMouseMove(int /*button*/, int /*shift*/, int xTwips, int /*yTwips*/) {
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
