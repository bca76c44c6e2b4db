#include "about/about_dialog.h"
#include "program_fixture.h"

namespace zdz::test {
namespace {

constexpr char kMsinfo[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr char kLocation[] = "SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr char kNoSysInfo[] = "現時点ではｼｽﾃﾑ情報を使用できません";

TEST(GetKeyValue, ReadsStringsAndNumbersAndRefusesTheRest) {
  fake::FakeRegistry reg;
  const std::string key = "SOFTWARE\\Test";
  reg.SetString(kHkeyLocalMachine, key, "sz", "C:\\Tools\\x.exe");
  reg.SetValue(kHkeyLocalMachine, key, "raw", {kRegSz, {'a', 'b'}});  // no terminating zero
  reg.SetValue(kHkeyLocalMachine, key, "dword", {kRegDword, {0x78, 0x56, 0x34, 0x12}});
  reg.SetValue(kHkeyLocalMachine, key, "binary", {3, {1, 2, 3}});
  reg.SetValue(kHkeyLocalMachine, key, "fits", {kRegSz, std::vector<std::uint8_t>(1024, 'x')});
  reg.SetValue(kHkeyLocalMachine, key, "big", {kRegSz, std::vector<std::uint8_t>(1025, 'x')});

  // What each value reads as, over a "keep" that only a value of another type leaves.
  for (const auto& [name, found, read] :
       {std::tuple("sz", true, "C:\\Tools\\x.exe"),
        {"raw", true, "ab"},
        {"dword", true, "305419896"},  // all four bytes, low first
        {"binary", true, "keep"},
        {"big", false, ""},
        {"absent", false, ""}}) {
    std::string v = "keep";
    EXPECT_EQ(GetKeyValue(reg, kHkeyLocalMachine, key, name, v), found) << name;
    EXPECT_EQ(v, read) << name;
  }
  std::string v;
  EXPECT_TRUE(GetKeyValue(reg, kHkeyLocalMachine, key, "fits", v));
  EXPECT_EQ(v.size(), 1024u);
  v = "x";
  EXPECT_FALSE(GetKeyValue(reg, kHkeyLocalMachine, "SOFTWARE\\Nothing", "sz", v));
  EXPECT_EQ(v, "");
  EXPECT_EQ(reg.openHandles, 0);  // no key left open on any path
  for (auto mask : reg.accessMasks) EXPECT_EQ(mask, 0x2003Fu);
}

class AboutTest : public ProgramTest {
 protected:
  void SetUp() override {
    Start(true, true, false, false);
    desk.ChooseMenu("fomTIME", "menVERJ");
  }
  void SysInfo() { desk.Click("fomAbout", "cmdSysInfo"); }
  fake::FakeWindow& about() { return *desk.Window("fomAbout"); }
};

TEST_F(AboutTest, LoadStepSetsTitleAndVersionAfreshEachOpening) {
  EXPECT_EQ(about().caption, "Zoduzazuのﾊﾞｰｼﾞｮﾝ情報");
  EXPECT_EQ(about().Model().Ctl("lblTitle").Caption(), "Zoduzazu");
  EXPECT_EQ(about().Model().Ctl("lblVersion").Caption(), "Ver.1.0.0");
  about().Model().Ctl("lblTitle").SetCaption("changed");
  desk.Click("fomAbout", "cmdOK");
  EXPECT_TRUE(Gone("fomAbout"));
  EXPECT_FALSE(desk.system.ended);
  desk.ChooseMenu("fomTIME", "menVERJ");
  EXPECT_EQ(about().Model().Ctl("lblTitle").Caption(), "Zoduzazu");
}

TEST_F(AboutTest, NothingStartedGivesTheMessageAndTheFirstValueIsStartedAsRead) {
  SysInfo();
  EXPECT_TRUE(desk.system.started.empty());
  EXPECT_EQ(desk.system.messages.size(), 1u);
  desk.registry.SetString(kHkeyLocalMachine, kMsinfo, "PATH", "C:\\gone.exe");
  SysInfo();
  EXPECT_EQ(desk.system.started, (std::vector<std::string>{"C:\\gone.exe"}));
  ASSERT_EQ(desk.system.messages.size(), 2u);
  EXPECT_EQ(desk.system.messages[1],
            std::make_pair(std::string(kNoSysInfo), std::string("Zoduzazu")));
  EXPECT_TRUE(desk.Window("fomAbout"));  // the dialog stays open

  // No existence test: a path that starts is all it takes.
  desk.registry.SetString(kHkeyLocalMachine, kMsinfo, "PATH", "C:\\Program Files\\msinfo.exe");
  desk.system.startable.insert("C:\\Program Files\\msinfo.exe");
  desk.registry.opened.clear();
  SysInfo();
  EXPECT_EQ(desk.system.started.back(), "C:\\Program Files\\msinfo.exe");
  EXPECT_EQ(desk.registry.opened, (std::vector<std::string>{kMsinfo}));
  EXPECT_EQ(desk.system.messages.size(), 2u);
}

TEST_F(AboutTest, SecondValueNeedsTheToolInItsFolder) {
  desk.registry.SetString(kHkeyLocalMachine, kLocation, "MSINFO", "C:\\Tools Dir");
  SysInfo();
  EXPECT_TRUE(desk.system.started.empty());
  EXPECT_EQ(desk.system.messages.size(), 1u);
  EXPECT_EQ(desk.registry.opened, (std::vector<std::string>{kMsinfo, kLocation}));

  desk.system.files.insert("C:\\Tools Dir\\MSINFO32.EXE");
  desk.system.startable.insert("C:\\Tools Dir\\MSINFO32.EXE");
  SysInfo();
  EXPECT_EQ(desk.system.started, (std::vector<std::string>{"C:\\Tools Dir\\MSINFO32.EXE"}));
  EXPECT_EQ(desk.system.messages.size(), 1u);
}

// A first value of another type is found and starts nothing, not even the tool in the second
// value's folder; one this account may not open counts as absent.
TEST_F(AboutTest, OtherTypeCountsAsFoundButAKeyThisAccountMayNotOpenAsAbsent) {
  desk.registry.SetValue(kHkeyLocalMachine, kMsinfo, "PATH", {7, {'a', 0, 0}});
  desk.registry.SetString(kHkeyLocalMachine, kLocation, "MSINFO", "C:\\T");
  desk.system.files.insert("C:\\T\\MSINFO32.EXE");
  desk.system.startable.insert("C:\\T\\MSINFO32.EXE");
  SysInfo();
  EXPECT_EQ(desk.registry.opened, (std::vector<std::string>{kMsinfo}));
  EXPECT_TRUE(desk.system.started.empty());  // an empty path is no program
  EXPECT_EQ(desk.system.messages.size(), 1u);

  desk.registry.denied.insert(kMsinfo);
  SysInfo();
  EXPECT_EQ(desk.system.started, (std::vector<std::string>{"C:\\T\\MSINFO32.EXE"}));
  EXPECT_EQ(desk.system.messages.size(), 1u);
}

}  // namespace
}  // namespace zdz::test
