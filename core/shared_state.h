#pragma once
// The option state the whole program shares.

#include <array>
#include <string>

#include "platform/vb_types.h"

namespace zdz {

// OptFlag indices.
inline constexpr int kFlag24Hour = 0;  // False: 12-hour display with AM/PM
inline constexpr int kFlagWindow = 1;  // start as a window; False: in the notification area
inline constexpr int kFlagChime = 2;   // hourly chime on
inline constexpr int kFlagCuckoo = 3;  // as many strokes as the hour

struct SharedState {
  std::array<VbBool, 4> OptFlag{};
  std::string WavePath;  // empty: nothing is played
  std::string WaveName;  // " " followed by the file name
  VbBool InTray = kFalse;

  bool Flag(int index) const { return OptFlag.at(index) != 0; }
};

}  // namespace zdz
