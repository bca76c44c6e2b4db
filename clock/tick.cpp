// ClockWindow::Tick and the time text it shows.
#include <cstdio>

#include "clock/clock_window.h"
#include "core/application.h"

namespace zdz {

namespace {

std::string TwoDigits(int n) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02d", n);
  return buf;
}

}  // namespace

std::string FormatTime(const LocalTime& t, bool twentyFourHour, const std::string& separator,
                       const std::string& am, const std::string& pm) {
  const std::string mmss = separator + TwoDigits(t.minute) + separator + TwoDigits(t.second);
  if (twentyFourHour) return TwoDigits(t.hour) + mmss;
  const int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
  return (t.hour < 12 ? am : pm) + " " + TwoDigits(hour12) + mmss;
}

void ClockWindow::Tick() {
  // A closed clock whose timer has not stopped yet: nothing to show, nothing to free.
  if (app_.Clock() != this) return;
  // Windows released by their own handlers are freed here, outside those handlers.
  app_.CollectReleased();

  TimeSource& time = app_.Desk().Time();
  const LocalTime now = time.Now();
  const int hour = now.hour == 0 ? 24 : now.hour;
  const SharedState& state = app_.State();

  const std::pair<LocalTime, bool> shown{now, state.Flag(kFlag24Hour)};
  if (shown_ != shown) {
    shown_ = shown;
    form_.Ctl("lblTIME").SetCaption(FormatTime(now, shown.second, time.TimeSeparator(),
                                               time.AmDesignator(), time.PmDesignator()));
  }

  if (state.Flag(kFlagChime) && now.minute == 0 && now.second == 0) {
    // Once per hour, however short the chime is against second 0.
    const ChimedHour thisHour{now.year, now.month, now.day, now.hour};
    if (lastChime_ == thisHour) return;
    lastChime_ = thisHour;
    app_.PlayChime(static_cast<std::int16_t>(hour));
  }
}

}  // namespace zdz
