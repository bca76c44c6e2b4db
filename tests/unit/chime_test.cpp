#include "program_fixture.h"

namespace zdz::test {
namespace {

class ChimeTest : public ProgramTest {
 protected:
  // The log from the first "hide"/"play" on, without window creation noise.
  std::vector<std::string> Around() {
    std::vector<std::string> out;
    for (const auto& e : desk.log)
      if (e.rfind("play", 0) == 0 || e == "hide fomTIME" || e == "show fomTIME") out.push_back(e);
    return out;
  }
  void ChimeAfterTheUserMovedIt(bool windowStart) {
    Start(true, windowStart, true, false);
    desk.ChooseMenu("fomTIME", "menTASC");
    ASSERT_EQ(clock().visible, !windowStart);
    desk.log.clear();
    app->PlayChime(3);
    EXPECT_EQ(Around(), (std::vector<std::string>{"play D:\\snd\\bell.wav 1"}));
    EXPECT_EQ(clock().visible, !windowStart);
    EXPECT_EQ(tasc(), windowStart ? kTascOut : kTascIn);
  }
};

TEST_F(ChimeTest, WindowModeHidesTheVisibleWindowForTheChimeAndWithoutAFileNothingPlays) {
  Start(true, true, true, false);
  desk.log.clear();
  app->PlayChime(13);
  EXPECT_EQ(Around(),
            (std::vector<std::string>{"hide fomTIME", "play D:\\snd\\bell.wav 1", "show fomTIME"}));
  EXPECT_TRUE(clock().visible);

  state().WavePath.clear();  // no chime file chosen
  desk.sound.plays.clear();
  app->PlayChime(5);
  EXPECT_TRUE(desk.sound.plays.empty());
  EXPECT_TRUE(clock().visible);
}

TEST_F(ChimeTest, CuckooReadsTheFileOnceAndPlaysCountStrokesSynchronously) {
  Start(true, false, true, true);
  app->PlayChime(24);
  EXPECT_EQ(desk.sound.plays, (std::vector<fake::PlayCall>{{"D:\\snd\\bell.wav", 24, false}}));
  EXPECT_EQ(desk.sound.Opened(), (std::vector<std::string>{"D:\\snd\\bell.wav"}));
}

// A clock the user put into the tray stays there; one brought out of it stays shown.
TEST_F(ChimeTest, AClockTheUserPutInTheTrayStaysThere) { ChimeAfterTheUserMovedIt(true); }
TEST_F(ChimeTest, AWindowTheUserBroughtOutStaysShown) { ChimeAfterTheUserMovedIt(false); }

}  // namespace
}  // namespace zdz::test
