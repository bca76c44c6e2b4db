#include "clock/clock_layout.h"
#include "program_fixture.h"
#include "resources/captions.h"

namespace zdz::test {
namespace {

TEST_F(ProgramTest, LoadingTellsTheStoredLayoutAndTheVersionCommandShowsOneDialog) {
  Start(true, true, false, false);  // 24-hour, where the form is drawn 12-hour wide
  const fake::FakeControl& label = clock().Peer("lblTIME");
  EXPECT_EQ(std::tuple(clock().width, label.left, label.top, label.width),
            std::tuple(kLayout24.windowWidth, kTimeLabelLeft, kTimeLabelTop, kLayout24.labelWidth));

  // The version command shows one dialog beside an enabled clock.
  desk.ChooseMenu("fomTIME", "menVERJ");
  desk.ChooseMenu("fomTIME", "menVERJ");
  EXPECT_EQ(std::count(desk.log.begin(), desk.log.end(), "create fomAbout"), 1);
  EXPECT_TRUE(desk.Window("fomAbout")->visible);
  EXPECT_TRUE(clock().enabled);
}

TEST_F(ProgramTest, DeleteSettingsThatStayStoredSaysWhyElseResetsMemoryAndDisablesItself) {
  Start(true, true, true, true);
  const SharedState before = state();
  desk.store.failDelete = true;
  desk.store.failReason = StoreFailure::kNotPermitted;
  desk.ChooseMenu("fomTIME", "menREG");
  ASSERT_EQ(desk.system.messages.size(), 1u);
  EXPECT_EQ(desk.system.messages[0].first, std::string(text::kNotDeleted) + text::kNotPermitted);
  EXPECT_EQ(desk.system.messages[0].second, "Zoduzazu");
  EXPECT_EQ(state().OptFlag, before.OptFlag);
  EXPECT_EQ(std::tuple(state().WavePath, state().WaveName),
            std::tuple(before.WavePath, before.WaveName));
  EXPECT_EQ(clock().width, 3360);
  EXPECT_TRUE(clock().visible);
  EXPECT_EQ(desk.tray.icons.size(), 0u);
  EXPECT_TRUE(clockForm().Menu("menREG").Enabled()) << "the settings are still there to delete";
  EXPECT_FALSE(desk.system.ended);

  desk.store.failDelete = false;
  desk.ChooseMenu("fomTIME", "menREG");
  EXPECT_TRUE(desk.store.Section().empty());
  EXPECT_EQ(state().OptFlag, (std::array<VbBool, 4>{}));
  EXPECT_EQ(std::tuple(clock().width, clock().Peer("lblTIME").width), std::tuple(4785, 4065));
  EXPECT_EQ(std::tuple(state().WavePath, state().WaveName),
            std::tuple(kDefaultWave, " Ruvazu.wav"));
  EXPECT_TRUE(clock().visible);  // presentation untouched
  EXPECT_FALSE(clockForm().Menu("menREG").Enabled());
  EXPECT_TRUE(desk.store.writes.empty());

  desk.ChooseMenu("fomTIME", "menREG");  // disabled: nothing happens
  EXPECT_EQ(desk.store.deletes, 1);

  // From the right-click pop-up it is disabled too.
  desk.popupChoice = "menREG";
  desk.IconMessage(clock().Handle(), 0x204);
  EXPECT_EQ(desk.store.deletes, 1);
}

}  // namespace
}  // namespace zdz::test
