#include "program_fixture.h"

namespace zdz::test {
namespace {

using Writes = std::vector<fake::StoreWrite>;

TEST_F(ProgramTest, OpeningWithTheChimeOffDisablesItsControlsAndTheClocksInput) {
  StoreOptions(false, true, false, false);
  Start();
  OpenOptions();
  EXPECT_TRUE(options()->visible);
  EXPECT_TRUE(options()->topmost);
  EXPECT_FALSE(clock().enabled);
  EXPECT_TRUE(shown("opt12").value);
  EXPECT_FALSE(shown("opt24").value);
  EXPECT_TRUE(shown("optW").value);
  EXPECT_FALSE(shown("chkALARM", 0).value);
  EXPECT_EQ(shown("lblFILE").backColor, kSilver);
  EXPECT_FALSE(shown("chkALARM", 1).enabled);
  EXPECT_FALSE(shown("chkALARM", 2).enabled);
  EXPECT_FALSE(shown("btnFILE").enabled);
  EXPECT_EQ(shown("chkALARM", 1).caption, "OFF");
  EXPECT_EQ(shown("chkALARM", 2).caption, "Test");
  EXPECT_EQ(shown("lblFILE").caption, " bell.wav");

  desk.ChooseMenu("fomTIME", "menTASC");
  desk.Close("fomTIME");
  EXPECT_TRUE(clock().visible);
  EXPECT_FALSE(desk.system.ended);
  // A fresh dialog each opening; the old one is freed at the next tick.
  desk.Click("fomOPTION", "btnOKCAN", 1);
  desk.Tick();
  OpenOptions();
  EXPECT_EQ(std::count(desk.log.begin(), desk.log.end(), "create fomOPTION"), 2);
  EXPECT_EQ(std::count(desk.log.begin(), desk.log.end(), "destroy fomOPTION"), 1);
}

TEST_F(ProgramTest, OpeningWithTheChimeOnRunsTheChangeHandlersAndOnlyForSettingsInRange) {
  StoreOptions(true, false, true, true);
  Start();
  clockForm().SetWidth(1000);  // loading re-applies the stored layout
  OpenOptions();
  EXPECT_EQ(clock().width, 3360);
  EXPECT_EQ(clock().Peer("lblTIME").width, 2625);
  EXPECT_TRUE(shown("optT").value);
  EXPECT_EQ(shown("lblFILE").backColor, kWhite);
  EXPECT_TRUE(shown("chkALARM", 1).enabled);
  EXPECT_TRUE(shown("chkALARM", 2).enabled);
  EXPECT_TRUE(shown("btnFILE").enabled);
  EXPECT_TRUE(shown("chkALARM", 1).value);
  EXPECT_EQ(shown("chkALARM", 1).caption, "ON");
  const auto before = state().OptFlag;
  for (std::int16_t i : {-1, 8, 100}) app->Options().SETTING(i);
  EXPECT_EQ(state().OptFlag, before);
  EXPECT_TRUE(opt("opt24").Value());
}

TEST_F(ProgramTest, ChimeOffDisablesButDoesNotReleaseTheTestOrForgetCuckoo) {
  StoreOptions(true, true, true, true);
  Start();
  OpenOptions();
  desk.Toggle("fomOPTION", "chkALARM", 2);  // test pressed
  desk.Toggle("fomOPTION", "chkALARM", 0);  // chime off
  EXPECT_EQ(state().OptFlag[kFlagChime], kFalse);
  EXPECT_EQ(opt("lblFILE").BackColor(), kSysButtonFace);
  EXPECT_TRUE(opt("chkALARM", 2).Value());
  EXPECT_FALSE(opt("chkALARM", 2).Enabled());
  desk.Toggle("fomOPTION", "chkALARM", 2);  // disabled: the click does nothing
  EXPECT_TRUE(opt("chkALARM", 2).Value());
  desk.Toggle("fomOPTION", "chkALARM", 0);
  EXPECT_EQ(state().OptFlag[kFlagCuckoo], kTrue);
  EXPECT_EQ(opt("chkALARM", 1).Caption(), "ON");
}

TEST_F(ProgramTest, TestTogglesWithAnEmptyNameAndBrowseReleasesItThenTakesTheFileName) {
  StoreOptions(true, true, true, false);
  Start();
  OpenOptions();
  desk.Toggle("fomOPTION", "chkALARM", 2);
  EXPECT_EQ(opt("chkALARM", 2).Caption(), "Stop");
  EXPECT_EQ(desk.sound.playing, "D:\\snd\\bell.wav");
  desk.Toggle("fomOPTION", "chkALARM", 2);
  EXPECT_EQ(opt("chkALARM", 2).Caption(), "Test");
  EXPECT_EQ(desk.sound.plays, (std::vector<fake::PlayCall>{{"D:\\snd\\bell.wav", 1, true}}));
  EXPECT_EQ(desk.sound.playing, "");
  EXPECT_EQ(state().WavePath, "D:\\snd\\bell.wav");

  desk.Toggle("fomOPTION", "chkALARM", 2);
  desk.system.openAnswers.push_back("C:\\WAVE\\bell.wav");
  desk.Click("fomOPTION", "btnFILE");
  EXPECT_EQ(desk.sound.playing, "");
  EXPECT_EQ(opt("chkALARM", 2).Caption(), "Test");
  EXPECT_FALSE(opt("chkALARM", 2).Value());
  const OpenFileRequest& req = desk.system.openRequests.at(0);
  EXPECT_EQ(req.title, "WAVE FILEの指定");
  EXPECT_EQ(req.filter, "ウェイブ ファイル (*.wav)|*.wav|");
  EXPECT_EQ(req.flags, 2048u | 4u);
  EXPECT_EQ(req.fileName, "");
  EXPECT_EQ(state().WavePath, "C:\\WAVE\\bell.wav");
  EXPECT_EQ(state().WaveName, " bell.wav");
  EXPECT_EQ(opt("lblFILE").Caption(), " bell.wav");

  for (const char* path : {"C:\\bell.wav", "/home/taro/音/鐘 の 音.wav", "bare.wav"}) {
    desk.system.openAnswers.push_back(path);
    desk.Click("fomOPTION", "btnFILE");
    EXPECT_EQ(state().WavePath, path);
  }
  EXPECT_EQ(state().WaveName, " bare.wav");
  EXPECT_EQ(desk.system.openRequests.back().fileName, "/home/taro/音/鐘 の 音.wav");

  desk.system.openAnswers.push_back(std::nullopt);  // cancelled
  opt("lblFILE").SetCaption("stale");
  desk.Click("fomOPTION", "btnFILE");
  EXPECT_EQ(state().WavePath, "bare.wav");
  EXPECT_EQ(opt("lblFILE").Caption(), " bare.wav");

  state().WavePath.clear();
  desk.sound.plays.clear();
  desk.Toggle("fomOPTION", "chkALARM", 2);
  EXPECT_EQ(opt("chkALARM", 2).Caption(), "Stop");
  EXPECT_TRUE(desk.sound.plays.empty());
}

TEST_F(ProgramTest, OkWritesAllSixInOrderAndAppliesTheStartUpMode) {
  StoreOptions(true, true, true, false);
  Start();
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
  EXPECT_EQ(clock().width, 4785);
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
  StoreOptions(true, true, true, false);
  Start();
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
    EXPECT_EQ(state().WavePath, "D:\\snd\\bell.wav");
    EXPECT_EQ(state().WaveName, " bell.wav");
    EXPECT_EQ(clock().width, 3360);
    EXPECT_EQ(clockForm().Ctl("lblTIME").Width(), 2625);
    EXPECT_TRUE(clock().enabled);
    desk.Tick();
  }
}

TEST_F(ProgramTest, CancelAfterDeletingSettingsKeepsNoUnsavedChangeThenOkStores) {
  StoreOptions(true, true, true, true);
  Start();
  desk.ChooseMenu("fomTIME", "menREG");
  OpenOptions();
  desk.Select("fomOPTION", "opt24");
  desk.Select("fomOPTION", "optW");
  desk.Toggle("fomOPTION", "chkALARM", 0);
  desk.system.openAnswers.push_back("C:\\x\\y.wav");
  desk.Click("fomOPTION", "btnFILE");
  desk.Click("fomOPTION", "btnOKCAN", 1);
  EXPECT_EQ(state().OptFlag, (std::array<VbBool, 4>{}));
  EXPECT_EQ(state().WavePath, kDefaultWave);
  EXPECT_EQ(state().WaveName, " Ruvazu.wav");
  EXPECT_EQ(clock().width, 4785);
  EXPECT_TRUE(clock().enabled);
  EXPECT_FALSE(clockForm().Menu("menREG").Enabled());  // Cancel does not re-enable it

  // After an OK that could not store, Cancel returns to what the dialog opened with.
  OpenOptions();
  desk.Select("fomOPTION", "opt24");
  desk.store.failSaves = true;
  desk.Click("fomOPTION", "btnOKCAN", 0);
  desk.store.failSaves = false;
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

TEST_F(ProgramTest, FailedSaveStoresNothingSaysWhyAndStillClosesTheDialog) {
  StoreOptions(true, true, false, false);
  Start();
  const auto before = desk.store.Section();
  desk.ChooseMenu("fomTIME", "menREG");
  desk.store.values.clear();
  for (const auto& [k, v] : before) desk.store.Put(k, v);
  OpenOptions();
  desk.Select("fomOPTION", "optT");
  desk.store.failSaveKey = "2";
  desk.store.failReason = StoreFailure::kNoSpace;
  desk.Click("fomOPTION", "btnOKCAN", 0);
  EXPECT_EQ(desk.store.Section(), before);  // all six or none
  ASSERT_EQ(desk.system.messages.size(), 1u);
  EXPECT_EQ(desk.system.messages[0].second, "Zoduzazu");
  EXPECT_NE(desk.system.messages[0].first.find("ディスク"), std::string::npos);
  EXPECT_TRUE(clock().visible);  // start-up mode not applied
  EXPECT_FALSE(clock().MenuPeer("menREG").enabled);
  EXPECT_TRUE(clock().enabled);
  EXPECT_TRUE(Gone("fomOPTION"));
}

}  // namespace
}  // namespace zdz::test
