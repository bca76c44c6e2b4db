#pragma once
// The clock window's two layouts, in twips.

namespace zdz {

struct ClockLayout {
  int windowWidth;
  int labelWidth;
};

inline constexpr ClockLayout kLayout24{3360, 2625};
inline constexpr ClockLayout kLayout12{4785, 4065};
inline constexpr int kClockHeight = 1440;
inline constexpr int kTimeLabelLeft = 320;
inline constexpr int kTimeLabelTop = 50;
inline constexpr int kTimeLabelHeight = 645;

constexpr const ClockLayout& LayoutFor(bool twentyFourHour) {
  return twentyFourHour ? kLayout24 : kLayout12;
}

}  // namespace zdz
