// zoduzazu.exe with its clock shifted to a chosen time, so a test hears the top of an hour at
// once (Wine's clock cannot be faked from outside), and optionally a shorter stroke cap, so a
// long file's cut is heard in seconds. Everything else is the program's own.
//   zdz_win32_shifted_clock HH:MM:SS [MAX_STROKE_SECONDS]
#include "platform/win32/win32_api.h"

#include <cstdio>
#include <cstdlib>

#include "core/application.h"
#include "platform/win32/win32_desktop.h"

namespace {

class ShiftedTime : public zdz::win32::SystemTime {
 public:
  explicit ShiftedTime(int startSecond) : offset_(startSecond - SecondOfDay(SystemTime::Now())) {}
  zdz::LocalTime Now() override {
    zdz::LocalTime t = SystemTime::Now();
    const int s = ((SecondOfDay(t) + offset_) % 86400 + 86400) % 86400;
    t.hour = s / 3600, t.minute = s / 60 % 60, t.second = s % 60;
    return t;
  }

 private:
  static int SecondOfDay(const zdz::LocalTime& t) {
    return t.hour * 3600 + t.minute * 60 + t.second;
  }
  int offset_;
};

class ShiftedDesktop : public zdz::win32::Win32Desktop {
 public:
  ShiftedDesktop(int startSecond, int maxStrokeSeconds)
      : time_(startSecond),
        sound_(
            zdz::win32::OpenChimeFile, [this] { return &output_; }, maxStrokeSeconds) {}
  zdz::TimeSource& Time() override { return time_; }
  zdz::Sound& Audio() override { return sound_; }

 private:
  ShiftedTime time_;
  zdz::win32::SystemOutput output_;
  zdz::wave::ChimePlayer sound_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int h = 0, m = 0, s = 0;
  if (argc < 2 || swscanf(argv[1], L"%d:%d:%d", &h, &m, &s) != 3) return 2;
  const int cap = argc > 2 ? _wtoi(argv[2]) : zdz::wave::kMaxStrokeSeconds;
  ShiftedDesktop desktop(h * 3600 + m * 60 + s, cap);
  zdz::Application program(desktop);
  if (!program.Start()) return 1;
  return desktop.Run();
}
