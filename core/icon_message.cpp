// Encoding of the icon's mouse messages and the double-click policy.
#include "core/icon_message.h"

#include <cmath>

#include "platform/notify_area.h"

namespace zdz {

namespace {

constexpr long kTwipsPerInch = 1440;

long DotsPerInch(double twipsPerPixel) {
  const long dpi = std::lround(kTwipsPerInch / (twipsPerPixel > 0 ? twipsPerPixel : 15.0));
  return dpi > 0 ? dpi : 1;
}

}  // namespace

int EncodeIconMessage(std::uint32_t message, double twipsPerPixel) {
  const long dpi = DotsPerInch(twipsPerPixel);
  return static_cast<int>((static_cast<long>(message) * kTwipsPerInch + dpi / 2) / dpi);
}

std::uint32_t DecodeIconMessage(int xTwips, double twipsPerPixel) {
  if (xTwips < 0) return 0;
  const long dpi = DotsPerInch(twipsPerPixel);
  return static_cast<std::uint32_t>((xTwips * dpi + kTwipsPerInch / 2) / kTwipsPerInch);
}

IconClickPolicy::IconClickPolicy(OneShotTimer& timer, int doubleClickMs, Deliver deliver)
    : timer_(timer), doubleClickMs_(doubleClickMs), deliver_(std::move(deliver)) {}

void IconClickPolicy::Report(std::uint32_t message) {
  switch (message) {
    case kWmLButtonDown:
      timer_.Start(doubleClickMs_, [this] { deliver_(kWmLButtonDown); });
      return;
    case kWmLButtonDblClk:
    case kWmRButtonDown:
      timer_.Stop();
      break;
    default:
      break;
  }
  deliver_(message);
}

}  // namespace zdz
