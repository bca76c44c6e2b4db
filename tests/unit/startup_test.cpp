#include "core/settings_format.h"
#include "program_fixture.h"
#include "resources/captions.h"

namespace zdz::test {
namespace {

using Writes = std::vector<fake::StoreWrite>;

TEST(BooleanText, ConvertsWordsAndNumbersAndRejectsTheRest) {
  for (const char* yes : {"True", "true", "-1", "2.5"}) EXPECT_EQ(TextToBool(yes), true) << yes;
  for (const char* no : {"FALSE", "0", " 0 "}) EXPECT_EQ(TextToBool(no), false) << no;
  for (const char* bad : {"", " ", "yes", "Tru", "1x", "-", ".", "1e", "真"})
    EXPECT_FALSE(TextToBool(bad).has_value()) << '"' << bad << '"';
}

TEST_F(ProgramTest, FirstRunWritesAllSixDefaultsInOrderAndStartsInTheTray) {
  Start();
  EXPECT_EQ(desk.store.writes, (Writes{{"0", "False"},
                                       {"1", "False"},
                                       {"2", "False"},
                                       {"3", "False"},
                                       {"WAVE", kDefaultWave},
                                       {"WAVEName", " Ruvazu.wav"}}));
  EXPECT_EQ(std::tuple(state().WavePath, state().WaveName),
            std::tuple(kDefaultWave, " Ruvazu.wav"));
  EXPECT_EQ(state().InTray, kTrue);
  EXPECT_FALSE(clock().visible);
  EXPECT_EQ(clock().width, 4785);
}

TEST_F(ProgramTest, DefaultChimeJoinsTheFolderWithTheDesktopsSeparator) {
  desk.system.separator = '/';
  desk.system.dataFolder = "/usr/share/zoduzazu";
  Start();
  EXPECT_EQ(state().WavePath, "/usr/share/zoduzazu/Ruvazu.wav");

  fake::FakeDesktop rootDesk;
  rootDesk.system.dataFolder = "C:\\";  // a root folder already ends in its separator
  Application rootApp(rootDesk);
  rootApp.Main();
  EXPECT_EQ(rootApp.State().WavePath, "C:\\Ruvazu.wav");
}

TEST_F(ProgramTest, GoodStoreIsReadWithoutWriting) {
  desk.store.Put("0", "true");
  desk.store.Put("1", "FALSE");
  desk.store.Put("2", "-1");
  desk.store.Put("3", "0");
  Start();
  EXPECT_TRUE(desk.store.writes.empty());
  EXPECT_EQ(state().OptFlag, (std::array<VbBool, 4>{kTrue, kFalse, kTrue, kFalse}));
  EXPECT_EQ(state().WavePath, "");  // no "WAVE" and nothing repaired: the chime is silent
  EXPECT_EQ(state().WaveName, "");
}

TEST_F(ProgramTest, DamagedFlagIsRepairedAloneAndTheChosenChimeSurvives) {
  StoreOptions(true, true, true, true);
  desk.store.Put("2", "maybe");
  Start();
  EXPECT_EQ(desk.store.writes, (Writes{{"2", "False"}}));
  EXPECT_EQ(state().OptFlag, (std::array<VbBool, 4>{kTrue, kTrue, kFalse, kTrue}));
  EXPECT_EQ(state().WavePath, "D:\\snd\\bell.wav");
  EXPECT_EQ(state().WaveName, " bell.wav");
}

TEST_F(ProgramTest, MissingFlagWithEmptyChimeRestoresOnlyWhatIsEmpty) {
  desk.store.Put("0", "True");
  desk.store.Put("1", "True");
  desk.store.Put("2", "True");
  desk.store.Put("WAVEName", " mine.wav");
  Start();
  EXPECT_EQ(desk.store.writes, (Writes{{"3", "False"}, {"WAVE", kDefaultWave}}));
  EXPECT_EQ(state().WaveName, " mine.wav");
  EXPECT_TRUE(clock().visible);
}

TEST_F(ProgramTest, StoreThatLosesWritesDoesNotHangStartUp) {
  desk.store.loseWrites = true;
  Start();
  EXPECT_EQ(desk.store.writes.size(), 6u);
  EXPECT_EQ(state().OptFlag, (std::array<VbBool, 4>{}));
  EXPECT_TRUE(desk.Window("fomTIME"));
}

TEST(StartUp, AStoreThatRefusesWritesEndsItWithTheReasonAtTheFirstRunOrARepair) {
  for (const char* stored : {"", "maybe"}) {
    fake::FakeDesktop desk;
    if (*stored) desk.store.Put("0", stored);
    desk.store.failSaves = true;
    Application program(desk);
    EXPECT_FALSE(program.Start()) << stored;
    EXPECT_EQ(desk.system.failures,
              std::vector<std::string>{std::string(text::kStartStoreFailed) + "cannot save 0"});
    EXPECT_EQ(desk.Window("fomTIME"), nullptr) << stored;
  }
}

}  // namespace
}  // namespace zdz::test
