#include "program_fixture.h"

namespace zdz::test {
namespace {

TEST(TimeText, BothFormsWithJapaneseAndEnglishDesignators) {
  struct Case {
    int h, m, s;
    const char* h24;
    const char* ja;
    const char* en;
  };
  for (const Case& c : {Case{0, 30, 0, "00:30:00", "午前 12:30:00", "AM 12:30:00"},
                        Case{12, 30, 0, "12:30:00", "午後 12:30:00", "PM 12:30:00"},
                        Case{13, 5, 9, "13:05:09", "午後 01:05:09", "PM 01:05:09"},
                        Case{11, 59, 59, "11:59:59", "午前 11:59:59", "AM 11:59:59"},
                        Case{23, 59, 59, "23:59:59", "午後 11:59:59", "PM 11:59:59"}}) {
    const LocalTime t{2026, 12, 6, c.h, c.m, c.s};
    EXPECT_EQ(FormatTime(t, true, ":", "午前", "午後"), c.h24);
    EXPECT_EQ(FormatTime(t, false, ":", "午前", "午後"), c.ja);
    EXPECT_EQ(FormatTime(t, false, ":", "AM", "PM"), c.en);
  }
  EXPECT_EQ(FormatTime({2026, 1, 1, 7, 8, 9}, true, ".", "a", "p"), "07.08.09");
}

class TickTest : public ProgramTest {
 protected:
  void At(int h, int m, int s, int day = 6) { desk.time.now = {2026, 12, day, h, m, s}; }
  void TickAt(int h, int m, int s, int day = 6) {
    At(h, m, s, day);
    desk.Tick();
  }
  std::string label() { return clockForm().Ctl("lblTIME").Caption(); }
  size_t strokes() {
    size_t n = 0;
    for (const auto& p : desk.sound.plays) n += p.strokes;
    return n;
  }
};

TEST_F(TickTest, ASimulatedDayChimesEachHourOnceWithMidnightAs24) {
  Start(true, true, true, true);
  // Ten ticks a second would be 864000 ticks; three per second hit every second as well.
  for (int day : {6, 7}) {
    desk.sound.plays.clear();
    for (int h = 0; h < 24; ++h)
      for (int m = 0; m < 60; ++m)
        for (int s = 0; s < 60; ++s) {
          At(h, m, s, day);
          for (int i = 0; i < 3; ++i) desk.Tick();
        }
    EXPECT_EQ(strokes(), 300u) << "1 + 2 + ... + 24 strokes on day " << day;
  }

  state().OptFlag[kFlagCuckoo] = kFalse;
  desk.sound.plays.clear();
  for (int h = 0; h < 24; ++h) {
    TickAt(h, 0, 0, 8);
    desk.Tick();
  }
  EXPECT_EQ(strokes(), 24u);
}

// The label is empty until the first tick, then follows the display form; the chime comes at
// the top of an hour only, once, and clock changes give at most that hour's own chime.
TEST_F(TickTest, TheLabelFollowsEachTickAndOnlyTheTopOfAnHourChimesOnce) {
  Start(false, true, true, true);
  EXPECT_EQ(label(), "");
  TickAt(13, 5, 9);
  EXPECT_EQ(label(), "午後 01:05:09");
  state().OptFlag[kFlag24Hour] = kTrue;  // as the options dialog would
  desk.Tick();
  EXPECT_EQ(label(), "13:05:09");

  TickAt(10, 0, 1);
  TickAt(10, 1, 0);
  TickAt(9, 59, 59);
  TickAt(13, 59, 59);
  TickAt(14, 0, 1);  // a jump (or a stopped program) over second 0: no late chime
  EXPECT_EQ(strokes(), 0u);

  TickAt(1, 0, 0);  // daylight saving's fall-back repeats 01:00 to 01:59
  TickAt(1, 59, 59);
  TickAt(1, 0, 0);
  EXPECT_EQ(strokes(), 1u);

  TickAt(1, 59, 59);  // its spring-forward skips 02:00: 03:00 has its own count
  TickAt(3, 0, 0);
  EXPECT_EQ(strokes(), 4u);

  TickAt(3, 0, 0, 7);  // the same hour on another day is another hour
  EXPECT_EQ(strokes(), 7u);

  state().OptFlag[kFlagChime] = kFalse;
  TickAt(11, 0, 0);
  EXPECT_EQ(strokes(), 7u);
  EXPECT_EQ(label(), "11:00:00");  // the display goes on
}

}  // namespace
}  // namespace zdz::test
