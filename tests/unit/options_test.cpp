#include "program_fixture.h"

namespace zdz::test {
namespace {

using Writes = std::vector<fake::StoreWrite>;

TEST_F(ProgramTest, OpeningWithTheChimeOffShowsTheStoredChoicesAndDisablesTheChimeControls) {
  Start(true, false, false, true);
  OpenOptions();
  EXPECT_TRUE(shown("opt24").value);
  EXPECT_TRUE(shown("optT").value);
  EXPECT_FALSE(shown("chkALARM", 0).value);
  EXPECT_EQ(shown("lblFILE").backColor, kSilver);
  EXPECT_EQ(shown("lblFILE").caption, " bell.wav");
  for (const auto& [name, index] : {std::pair("chkALARM", 1), {"chkALARM", 2}, {"btnFILE", -1}})
    EXPECT_FALSE(shown(name, index).enabled) << name << index;
}

TEST_F(ProgramTest, ChimeOffDisablesButDoesNotReleaseTheTestOrForgetCuckoo) {
  Start(true, true, true, true);
  OpenOptions();
  EXPECT_EQ(shown("lblFILE").backColor, kWhite);
  EXPECT_EQ(shown("chkALARM", 1).caption, "ON");
  desk.Toggle("fomOPTION", "chkALARM", 2);  // test pressed
  desk.Toggle("fomOPTION", "chkALARM", 0);  // chime off
  EXPECT_EQ(state().OptFlag[kFlagChime], kFalse);
  EXPECT_EQ(shown("lblFILE").backColor, kSysButtonFace);
  EXPECT_TRUE(shown("chkALARM", 2).value);
  EXPECT_FALSE(shown("chkALARM", 2).enabled);
  desk.Toggle("fomOPTION", "chkALARM", 2);  // disabled: the click does nothing
  EXPECT_TRUE(shown("chkALARM", 2).value);
  desk.Toggle("fomOPTION", "chkALARM", 0);
  EXPECT_EQ(state().OptFlag[kFlagCuckoo], kTrue);
  EXPECT_TRUE(shown("chkALARM", 1).enabled);
}

TEST_F(ProgramTest, WhileTheDialogIsOpenTheClockTakesNoInputAndEachOpeningIsAFreshDialog) {
  Start(false, true, false, false);
  OpenOptions();
  EXPECT_TRUE(options()->topmost);
  EXPECT_FALSE(clock().enabled);
  desk.ChooseMenu("fomTIME", "menTASC");
  desk.Close("fomTIME");
  EXPECT_TRUE(clock().visible);
  desk.Click("fomOPTION", "btnOKCAN", 1);
  desk.Click("fomOPTION", "btnOKCAN", 0);  // queued before the window went
  EXPECT_TRUE(desk.store.writes.empty());
  EXPECT_FALSE(options()->topmost);
  EXPECT_TRUE(clock().enabled);
  desk.Tick();  // the closed dialog is freed here
  OpenOptions();
  EXPECT_EQ(std::count(desk.log.begin(), desk.log.end(), "create fomOPTION"), 2);
  EXPECT_EQ(std::count(desk.log.begin(), desk.log.end(), "destroy fomOPTION"), 1);
}

TEST_F(ProgramTest, TestPlaysTheChimeFileUntilReleasedOrBrowseAndBrowseKeepsTheLastChoice) {
  Start(true, true, true, false);
  OpenOptions();
  desk.Toggle("fomOPTION", "chkALARM", 2);
  EXPECT_EQ(shown("chkALARM", 2).caption, "Stop");
  EXPECT_EQ(desk.sound.playing, "D:\\snd\\bell.wav");
  desk.Toggle("fomOPTION", "chkALARM", 2);
  EXPECT_EQ(shown("chkALARM", 2).caption, "Test");
  EXPECT_EQ(desk.sound.plays, (std::vector<fake::PlayCall>{{"D:\\snd\\bell.wav", 1, true}}));
  EXPECT_EQ(desk.sound.playing, "");

  desk.Toggle("fomOPTION", "chkALARM", 2);
  desk.system.openAnswers = {"C:\\WAVE\\bell.wav", std::nullopt};
  desk.Click("fomOPTION", "btnFILE");
  EXPECT_EQ(desk.sound.playing, "");
  EXPECT_EQ(shown("chkALARM", 2).caption, "Test");
  EXPECT_FALSE(shown("chkALARM", 2).value);
  desk.Click("fomOPTION", "btnFILE");
  const OpenFileRequest& req = desk.system.openRequests.at(0);
  EXPECT_EQ(req.title, "WAVE FILEの指定");
  EXPECT_EQ(req.filter, "ウェイブ ファイル (*.wav)|*.wav|");
  EXPECT_EQ(req.flags, 2048u | 4u);
  EXPECT_EQ(req.fileName, "");
  EXPECT_EQ(desk.system.openRequests.at(1).fileName, "C:\\WAVE\\bell.wav");

  // The file name part after either separator is shown; a cancel keeps the last choice.
  for (const auto& [path, name] : {std::pair("C:\\WAVE\\kane.wav", " kane.wav"),
                                   {"/home/taro/音/鐘 の 音.wav", " 鐘 の 音.wav"},
                                   {"bare.wav", " bare.wav"}}) {
    desk.system.openAnswers.push_back(path);
    desk.Click("fomOPTION", "btnFILE");
    EXPECT_EQ(state().WavePath, path);
    EXPECT_EQ(state().WaveName, name);
    EXPECT_EQ(shown("lblFILE").caption, name);
  }
  for (const std::optional<std::string>& answer : {std::optional<std::string>(), {""}}) {
    opt("lblFILE").SetCaption("stale");
    desk.system.openAnswers.push_back(answer);
    desk.Click("fomOPTION", "btnFILE");
    EXPECT_EQ(state().WavePath, "bare.wav");
    EXPECT_EQ(shown("lblFILE").caption, " bare.wav");
  }
}

TEST_F(ProgramTest, OkWritesAllSixInOrderAndAppliesTheStartUpMode) {
  Start(true, true, true, false);
  desk.store.writes.clear();
  OpenOptions();
  desk.Toggle("fomOPTION", "chkALARM", 2);
  desk.Select("fomOPTION", "optT");
  desk.Select("fomOPTION", "opt12");
  EXPECT_EQ(clock().width, 4785);  // previewed at once
  desk.Click("fomOPTION", "btnOKCAN", 0);
  EXPECT_EQ(desk.sound.playing, "");  // test stopped first
  EXPECT_EQ(desk.store.writes, (Writes{{"0", "False"},
                                       {"1", "False"},
                                       {"2", "True"},
                                       {"3", "False"},
                                       {"WAVE", "D:\\snd\\bell.wav"},
                                       {"WAVEName", " bell.wav"}}));
  EXPECT_FALSE(clock().visible);  // into the tray at once
  EXPECT_EQ(state().InTray, kTrue);
  EXPECT_TRUE(clock().enabled);
  EXPECT_TRUE(Gone("fomOPTION"));
  EXPECT_FALSE(desk.system.ended);

  desk.Tick();
  OpenOptions();
  desk.Select("fomOPTION", "optW");
  desk.Click("fomOPTION", "btnOKCAN", 0);
  EXPECT_TRUE(clock().visible);  // out of the tray at once
  EXPECT_EQ(desk.store.Section().at("1"), "True");
}

TEST_F(ProgramTest, CancelOrClosingTheDialogRestoresTheStoredOptions) {
  Start(true, true, true, false);
  for (bool byButton : {true, false}) {
    OpenOptions();
    desk.Select("fomOPTION", "opt12");
    desk.Toggle("fomOPTION", "chkALARM", 1);
    desk.system.openAnswers.push_back("C:\\other.wav");
    desk.Click("fomOPTION", "btnFILE");
    desk.sound.AddFile("C:\\other.wav", fake::TestWave());
    desk.Toggle("fomOPTION", "chkALARM", 2);
    ASSERT_EQ(desk.sound.playing, "C:\\other.wav");
    if (byButton)
      desk.Click("fomOPTION", "btnOKCAN", 1);
    else
      desk.Close("fomOPTION");  // Esc or the title bar's close
    EXPECT_TRUE(Gone("fomOPTION"));
    EXPECT_EQ(desk.sound.playing, "");  // the test sound is stopped
    EXPECT_EQ(state().OptFlag, (std::array<VbBool, 4>{kTrue, kTrue, kTrue, kFalse}));
    EXPECT_EQ(std::tuple(state().WavePath, state().WaveName),
              std::tuple("D:\\snd\\bell.wav", " bell.wav"));
    EXPECT_EQ(std::tuple(clock().width, clock().Peer("lblTIME").width), std::tuple(3360, 2625));
    EXPECT_TRUE(clock().enabled);
    desk.Tick();
  }
}

// After the delete command: Cancel keeps no unsaved change, a failed OK stores none of the six
// and says why, Cancel then returns to what the dialog opened with, and an OK stores all six.
TEST_F(ProgramTest, AfterDeletingSettingsOnlyAnOkThatStoresKeepsTheChoices) {
  Start(true, true, true, true);
  desk.ChooseMenu("fomTIME", "menREG");
  OpenOptions();
  desk.Select("fomOPTION", "opt24");
  desk.Select("fomOPTION", "optW");
  desk.Toggle("fomOPTION", "chkALARM", 0);
  desk.system.openAnswers.push_back("C:\\x\\y.wav");
  desk.Click("fomOPTION", "btnFILE");
  desk.Click("fomOPTION", "btnOKCAN", 1);
  EXPECT_EQ(state().OptFlag, (std::array<VbBool, 4>{}));
  EXPECT_EQ(std::tuple(state().WavePath, state().WaveName),
            std::tuple(kDefaultWave, " Ruvazu.wav"));
  EXPECT_EQ(clock().width, 4785);
  EXPECT_TRUE(clock().enabled);
  EXPECT_FALSE(clockForm().Menu("menREG").Enabled());  // Cancel does not re-enable it

  OpenOptions();
  desk.Select("fomOPTION", "opt24");
  desk.Select("fomOPTION", "optT");
  desk.store.failSaveKey = "2";
  desk.store.failReason = StoreFailure::kNoSpace;
  desk.Click("fomOPTION", "btnOKCAN", 0);
  desk.store.failSaveKey.clear();
  EXPECT_TRUE(desk.store.Section().empty());  // all six or none
  ASSERT_EQ(desk.system.messages.size(), 1u);
  EXPECT_EQ(desk.system.messages[0].second, "Zoduzazu");
  EXPECT_NE(desk.system.messages[0].first.find("ディスク"), std::string::npos);
  EXPECT_TRUE(clock().visible);  // start-up mode not applied
  EXPECT_FALSE(clock().MenuPeer("menREG").enabled);
  EXPECT_TRUE(clock().enabled);
  EXPECT_TRUE(Gone("fomOPTION"));
  OpenOptions();
  desk.Select("fomOPTION", "opt12");
  desk.Click("fomOPTION", "btnOKCAN", 1);
  EXPECT_EQ(state().OptFlag[kFlag24Hour], kTrue);

  OpenOptions();
  desk.Click("fomOPTION", "btnOKCAN", 0);
  EXPECT_EQ(desk.store.Section().at("0"), "True");
  EXPECT_EQ(desk.store.Section().size(), 6u);
  EXPECT_TRUE(clockForm().Menu("menREG").Enabled());
}

}  // namespace
}  // namespace zdz::test
