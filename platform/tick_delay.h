#pragma once
// Where a repeating timer's next expiry is aimed: at the next whole multiple of its interval on
// the wall clock (a 100 ms timer at .000, .100, .200 ... of each second), re-aimed at every
// expiry, so the clock's caption changes right on the second and a change of the system time
// is followed at the next expiry.

#include <cstdint>

namespace zdz {

// Milliseconds from `nowUs` (microseconds on the wall clock; whole-minute zone offsets keep
// UTC's multiples those of the local time) to the next multiple of `intervalMs`. Rounded up and
// never 0: an expiry a little early is aimed again at the boundary it just missed.
constexpr int DelayToNextTick(std::int64_t nowUs, int intervalMs) {
  const std::int64_t period = (intervalMs > 0 ? intervalMs : 1) * std::int64_t{1000};
  const std::int64_t into = (nowUs % period + period) % period;
  return static_cast<int>((period - into + 999) / 1000);
}

}  // namespace zdz
