#pragma once
// The notification icon's mouse messages: how they travel to the clock window as a mouse-move
// position, and the one double-click policy every desktop follows.

#include <cstdint>
#include <functional>

#include "platform/one_shot.h"

namespace zdz {

// The message as the horizontal position, in twips, of the clock window's mouse-move
// notification, and back. Integer arithmetic on the display's dots per inch, so the pair is
// exact at any twips-per-pixel ratio, whole or not; a real position decodes to its pixel
// column, which on the clock window's client area stays far below the button messages.
int EncodeIconMessage(std::uint32_t message, double twipsPerPixel);
std::uint32_t DecodeIconMessage(int xTwips, double twipsPerPixel);

// A left press on the icon is held for the double-click interval: a double click then opens
// only its own menu, never the single click's menu first (whose modal loop would swallow the
// second click). Every other message passes at once.
class IconClickPolicy {
 public:
  using Deliver = std::function<void(std::uint32_t message)>;
  IconClickPolicy(OneShotTimer& timer, int doubleClickMs, Deliver deliver);
  void Report(std::uint32_t message);

 private:
  OneShotTimer& timer_;
  int doubleClickMs_;
  Deliver deliver_;
};

}  // namespace zdz
