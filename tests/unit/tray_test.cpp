#include "program_fixture.h"

namespace zdz::test {
namespace {

TEST_F(ProgramTest, TrayStartAddsOneIconWithTheFullRecord) {
  StoreOptions(false, false, false, false);
  Start();
  ASSERT_EQ(desk.tray.adds.size(), 1u);
  const NotifyIconData& icon = desk.tray.adds[0];
  EXPECT_EQ(icon.cbSize, 88u);
  EXPECT_EQ(icon.hWnd, clock().Handle());
  EXPECT_EQ(icon.uID, 1u);
  EXPECT_EQ(icon.uFlags, 7u);
  EXPECT_EQ(icon.uCallbackMessage, 0x200u);
  EXPECT_EQ(icon.hIcon, clock().IconHandle());
  EXPECT_EQ(icon.szTip, "Zoduzazu");
  EXPECT_FALSE(clock().visible);
  EXPECT_EQ(state().InTray, kTrue);
  EXPECT_EQ(tasc(), kTascOut);
}

TEST_F(ProgramTest, TrayCommandTogglesAndKeepsExactlyOneIcon) {
  StoreOptions(false, false, false, false);
  Start();
  desk.ChooseMenu("fomTIME", "menTASC");
  EXPECT_TRUE(clock().visible);
  EXPECT_EQ(state().InTray, kFalse);
  EXPECT_EQ(tasc(), kTascIn);
  EXPECT_EQ(desk.tray.icons.size(), 1u);  // the icon stays while the window is out

  desk.ChooseMenu("fomTIME", "menTASC");
  EXPECT_FALSE(clock().visible);
  EXPECT_EQ(tasc(), kTascOut);
  EXPECT_EQ(desk.tray.icons.size(), 1u);
}

TEST_F(ProgramTest, WindowStartAddsNoIconUntilTheFirstTrayCommand) {
  StoreOptions(false, true, false, false);
  Start();
  EXPECT_TRUE(clock().visible);
  EXPECT_TRUE(desk.tray.adds.empty());
  EXPECT_EQ(tasc(), kTascIn);
  desk.ChooseMenu("fomTIME", "menTASC");
  EXPECT_EQ(desk.tray.icons.size(), 1u);
}

TEST_F(ProgramTest, WithoutANotificationAreaTheClockStaysAWindow) {
  desk.tray.present = false;
  StoreOptions(false, false, false, false);
  Start();
  EXPECT_TRUE(clock().visible);
  EXPECT_EQ(state().InTray, kFalse);
  EXPECT_EQ(tasc(), kTascIn);
  desk.ChooseMenu("fomTIME", "menTASC");
  EXPECT_TRUE(clock().visible);
}

TEST_F(ProgramTest, IconClicksOpenTheirMenusAtBothRatios) {
  StoreOptions(false, false, false, false);
  for (double ratio : {15.0, 12.0}) {
    desk.system.twipsPerPixel = ratio;
    Start();
    const NativeHandle h = clock().Handle();
    for (std::uint32_t msg : {0x200u, 0x202u, 0x205u}) desk.IconMessage(h, msg);
    EXPECT_TRUE(clock().popups.empty()) << ratio;
    desk.IconMessage(h, 0x201);
    desk.IconMessage(h, 0x203);
    desk.IconMessage(h, 0x204);
    EXPECT_EQ(clock().popups, (std::vector<std::string>{"menFILE", "menVER", "menSET"}));
  }
}

TEST_F(ProgramTest, MovementOverTheClientAreaOpensNothing) {
  StoreOptions(false, true, false, false);
  Start();
  for (double ratio : {15.0, 12.0}) {
    desk.system.twipsPerPixel = ratio;
    for (double x = 0; x <= 4695; x += 7.5) clockForm().MouseMove(1, 0, x, 100);
  }
  EXPECT_TRUE(clock().popups.empty());
  EXPECT_EQ(DecodeIconMessage(513 * 15 + 7.4, 15), 0x201);
  EXPECT_EQ(DecodeIconMessage(7694.5, 15), 512);  // 7694.5 rounds to even: 7694
}

TEST_F(ProgramTest, LeftClickMenuBringsTheWindowBack) {
  StoreOptions(false, false, false, false);
  Start();
  desk.popupChoice = "menTASC";
  desk.IconMessage(clock().Handle(), 0x201);
  EXPECT_TRUE(clock().visible);
  EXPECT_EQ(tasc(), kTascIn);
}

TEST_F(ProgramTest, ExitRemovesTheIconEvenWhenVisibleAndEndsAtOnce) {
  StoreOptions(false, false, false, false);
  Start();
  desk.ChooseMenu("fomTIME", "menTASC");  // visible, icon still there
  desk.ChooseMenu("fomTIME", "menVERJ");  // an open version dialog does not keep it alive
  desk.ChooseMenu("fomTIME", "menEND");
  ASSERT_EQ(desk.tray.deletes.size(), 1u);
  EXPECT_EQ(desk.tray.deletes[0].cbSize, 88u);
  EXPECT_EQ(desk.tray.deletes[0].uID, 1u);
  EXPECT_TRUE(desk.tray.icons.empty());
  EXPECT_TRUE(desk.system.ended);
}

TEST_F(ProgramTest, ClosingTheWindowEndsOnlyWhenNoWindowIsLeft) {
  StoreOptions(false, true, false, false);
  Start();
  desk.ChooseMenu("fomTIME", "menVERJ");
  desk.Close("fomTIME");
  EXPECT_EQ(desk.tray.deletes.size(), 1u);
  EXPECT_FALSE(desk.system.ended);
  desk.Tick();  // the closed window's timer may still fire once before it is freed
  desk.Tick();
  desk.Close("fomAbout");
  EXPECT_TRUE(desk.system.ended);
}

}  // namespace
}  // namespace zdz::test
