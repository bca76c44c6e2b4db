#include "core/icon_message.h"
#include "program_fixture.h"

namespace zdz::test {
namespace {

// What the desktop was told about the tray command's caption, not only the model's own state.
std::string TascShown(fake::FakeWindow& w) { return w.MenuPeer("menTASC").caption; }

TEST_F(ProgramTest, TrayStartAddsOneIconForTheClockAndExitRemovesItEvenWhenVisible) {
  Start(false, false, false, false);
  ASSERT_EQ(desk.tray.adds.size(), 1u);
  const NotifyIconData& icon = desk.tray.adds[0];
  EXPECT_EQ(icon.hWnd, clock().Handle());
  EXPECT_EQ(std::tuple(icon.uID, icon.uCallbackMessage),
            std::tuple(1u, 0x200u));  // mouse-move form
  EXPECT_EQ(icon.hIcon, clock().IconHandle());
  EXPECT_EQ(icon.szTip, "Zoduzazu");
  EXPECT_FALSE(clock().visible);
  EXPECT_EQ(state().InTray, kTrue);
  EXPECT_EQ(TascShown(clock()), kTascOut);

  desk.ChooseMenu("fomTIME", "menTASC");  // visible, icon still there
  desk.ChooseMenu("fomTIME", "menVERJ");  // an open version dialog does not keep it alive
  desk.ChooseMenu("fomTIME", "menEND");
  ASSERT_EQ(desk.tray.deletes.size(), 1u);
  EXPECT_EQ(desk.tray.deletes[0].hWnd, desk.tray.adds[0].hWnd);
  EXPECT_EQ(desk.tray.deletes[0].uID, 1u);
  EXPECT_TRUE(desk.tray.icons.empty());
  EXPECT_TRUE(desk.system.ended);
}

TEST_F(ProgramTest, TrayCommandTogglesAndKeepsExactlyOneIcon) {
  Start(true, true, true, true);
  EXPECT_TRUE(clock().visible);
  EXPECT_TRUE(desk.tray.adds.empty());  // no icon until the clock first goes into the tray
  EXPECT_EQ(TascShown(clock()), kTascIn);
  for (int round = 0; round < 2; ++round) {
    desk.ChooseMenu("fomTIME", "menTASC");
    EXPECT_FALSE(clock().visible);
    EXPECT_EQ(state().InTray, kTrue);
    EXPECT_EQ(TascShown(clock()), kTascOut);
    desk.ChooseMenu("fomTIME", "menTASC");
    EXPECT_TRUE(clock().visible);
    EXPECT_EQ(state().InTray, kFalse);
    EXPECT_EQ(TascShown(clock()), kTascIn);
    EXPECT_EQ(desk.tray.icons.size(), 1u);  // the icon stays while the window is out
  }
}

// An area that turns up later, or comes back after vanishing, receives the clock a start in
// the tray asked for; until then the clock stays a window.
TEST_F(ProgramTest, WithoutANotificationAreaTheClockStaysAWindowUntilOneTurnsUp) {
  desk.tray.present = false;
  Start(false, false, false, false);
  EXPECT_TRUE(clock().visible);
  EXPECT_EQ(state().InTray, kFalse);
  EXPECT_EQ(TascShown(clock()), kTascIn);
  desk.ChooseMenu("fomTIME", "menTASC");
  EXPECT_TRUE(clock().visible);
  desk.tray.Appear();
  EXPECT_FALSE(clock().visible);
  EXPECT_EQ(TascShown(clock()), kTascOut);

  desk.tray.Vanish();
  EXPECT_TRUE(clock().visible);
  EXPECT_EQ(state().InTray, kFalse);
  EXPECT_EQ(TascShown(clock()), kTascIn);
  desk.tray.Appear();
  EXPECT_FALSE(clock().visible);
  EXPECT_EQ(state().InTray, kTrue);
  EXPECT_TRUE(desk.tray.Holds(clock().Handle(), 1));

  // A user who chose the window is left alone when an area turns up.
  desk.ChooseMenu("fomTIME", "menTASC");
  desk.tray.Appear();
  EXPECT_TRUE(clock().visible);
}

TEST_F(ProgramTest, IconClicksOpenTheirMenusAndADoubleClickOnlyItsOwn) {
  Start(false, false, false, false);
  const NativeHandle h = clock().Handle();
  for (std::uint32_t msg : {0x200u, 0x202u, 0x205u}) desk.IconMessage(h, msg);
  desk.ElapseOneShots();
  EXPECT_TRUE(clock().popups.empty());

  desk.IconMessage(h, 0x201);
  EXPECT_TRUE(clock().popups.empty());  // held for the double-click interval
  desk.ElapseOneShots();
  desk.IconMessage(h, 0x204);
  // A double click as Windows reports it: press, release, double click, release.
  for (std::uint32_t msg : {0x201u, 0x202u, 0x203u, 0x202u}) desk.IconMessage(h, msg);
  desk.ElapseOneShots();
  EXPECT_EQ(clock().popups, (std::vector<std::string>{"menFILE", "menSET", "menVER"}));

  // Another window's icon, or ours while the options dialog disables the clock, opens nothing.
  desk.IconMessage(h + 0x100, 0x204);
  OpenOptions();
  desk.IconMessage(h, 0x204);
  EXPECT_EQ(clock().popups.size(), 3u);
}

TEST(IconMessageCode, EveryButtonMessageSurvivesEveryRatioAndRealMovesStayBelow) {
  for (int dpi = 72; dpi <= 240; ++dpi) {
    const double ratio = 1440.0 / dpi;
    for (std::uint32_t msg = 0x200; msg <= 0x209; ++msg)
      ASSERT_EQ(DecodeIconMessage(EncodeIconMessage(msg, ratio), ratio), msg) << dpi << " dpi";
  }
  for (double ratio : {15.0, 12.0}) {
    // The clock's client area is at most 4695 twips wide.
    for (int x = 0; x <= 4695; ++x) ASSERT_LT(DecodeIconMessage(x, ratio), 0x200u) << x;
  }
}

TEST_F(ProgramTest, ClosingTheWindowEndsOnlyWhenNoWindowIsLeft) {
  Start(false, true, false, false);
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
