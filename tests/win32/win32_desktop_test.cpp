// The Win32 desktop under Wine: the registry, the windows and menus, the tray, sound, processes.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "about/about_dialog.h"
#include "clock/clock_window.h"
#include "core/application.h"
#include "options/options_dialog.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_icons.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/win32_tray.h"
#include "platform/win32/win32_window.h"

namespace zdz::win32 {
namespace {

constexpr std::uint32_t kHkcu = 0x80000001;

void Plant(const wchar_t* key, const wchar_t* name, DWORD type, const void* data, DWORD size) {
  HKEY h;
  ASSERT_EQ(
      RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h, nullptr),
      ERROR_SUCCESS);
  RegSetValueExW(h, name, 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(h);
}

void PlantText(const wchar_t* name, const std::wstring& text) {
  Plant(L"Software\\Zoduzazu Tests", name, REG_SZ, text.c_str(),
        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

// The import slot through which the store calls RegDeleteTreeW. Wine does not enforce a key's
// access list, so a key that may not be deleted is made here, at the call into the system.
extern "C" decltype(&RegDeleteTreeW) __imp_RegDeleteTreeW;

LSTATUS WINAPI DenyDeleteTree(HKEY, const wchar_t*) { return ERROR_ACCESS_DENIED; }

void SetDeleteTree(decltype(&RegDeleteTreeW) to) {
  DWORD was;
  ASSERT_TRUE(VirtualProtect(&__imp_RegDeleteTreeW, sizeof to, PAGE_READWRITE, &was));
  __imp_RegDeleteTreeW = to;
  VirtualProtect(&__imp_RegDeleteTreeW, sizeof to, was, &was);
}

TEST(RegistryStore, JapaneseValuesRoundTripAndDeleteRemovesTheWholeApplicationOrSaysWhyNot) {
  RegistryStore store;
  const std::string path = "C:\\音\\ﾁｬｲﾑ 鐘.wav";
  store.SaveAll("ZdzTest", "Zazedor", {{"0", "True"}, {"WAVE", path}});
  store.SaveAll("ZdzTest", "Other", {{"k", "v"}});
  EXPECT_EQ(store.Read("ZdzTest", "Zazedor", "0"), "True");
  EXPECT_EQ(store.Read("ZdzTest", "Zazedor", "WAVE"), path);
  const DWORD number = 1;  // a value of another type reads as absent
  const std::wstring section = L"Software\\VB and VBA Program Settings\\ZdzTest\\Zazedor";
  Plant(section.c_str(), L"1", REG_DWORD, &number, sizeof number);
  EXPECT_EQ(store.Read("ZdzTest", "Zazedor", "1"), "");

  // A key that may not be deleted: the settings stay, and the store says so.
  const auto realDeleteTree = __imp_RegDeleteTreeW;
  SetDeleteTree(DenyDeleteTree);
  try {
    store.Delete("ZdzTest");
    ADD_FAILURE() << "a key that may not be deleted was reported deleted";
  } catch (const StoreError& e) {
    EXPECT_EQ(e.Reason(), StoreFailure::kNotPermitted) << e.what();
  }
  SetDeleteTree(realDeleteTree);
  EXPECT_EQ(store.Read("ZdzTest", "Zazedor", "WAVE"), path);

  store.Delete("ZdzTest");
  store.Delete("ZdzTest");  // already gone: no error
  HKEY h;
  EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\ZdzTest", 0,
                          KEY_READ, &h),
            ERROR_SUCCESS);
}

// The value kinds and sizes are the unit test's; here what only the system shows: the wide
// call's text, a number's byte order, and the code page that judges whether a text fits.
TEST(SystemRegistry, GetKeyValueReadsTextAndNumbersAndRefusesWhatDoesNotFit) {
  PlantText(L"text", L"C:\\Program Files\\情報\\msinfo32.exe");
  const DWORD number = 0x12345678;
  Plant(L"Software\\Zoduzazu Tests", L"number", REG_DWORD, &number, sizeof number);
  // 600 kanji: 1,200 UTF-16 bytes, but 1,201 in the code page the narrow call counts in.
  PlantText(L"kanji", std::wstring(600, L'字'));

  SystemRegistry registry;
  const auto get = [&](const char* name, std::string& value) {
    return GetKeyValue(registry, kHkcu, "Software\\Zoduzazu Tests", name, value);
  };
  std::string value;
  EXPECT_TRUE(get("text", value));
  EXPECT_EQ(value, "C:\\Program Files\\情報\\msinfo32.exe");
  EXPECT_TRUE(get("number", value));
  EXPECT_EQ(value, "305419896");
  EXPECT_FALSE(get("kanji", value));
  EXPECT_EQ(value, "");
}

std::wstring WindowsPath(const std::string& unixPath) {
  std::wstring p = L"Z:" + Wide(unixPath);
  for (wchar_t& c : p)
    if (c == L'/') c = L'\\';
  return p;
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(SystemServices, APathWithSpacesStartsThatProgramAndNothingAtItsFirstSpace) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring dir = std::wstring(temp) + L"zdz tools";
  CreateDirectoryW(dir.c_str(), nullptr);
  const std::wstring tool = dir + L"\\system info.exe", decoy = std::wstring(temp) + L"zdz.exe";
  const std::wstring marker = WindowsPath(ZDZ_MARKER_EXE);
  ASSERT_TRUE(CopyFileW(marker.c_str(), tool.c_str(), FALSE));
  ASSERT_TRUE(CopyFileW(marker.c_str(), decoy.c_str(), FALSE));
  DeleteFileW((tool + L".ran").c_str());
  DeleteFileW((decoy + L".ran").c_str());

  SystemServices system;
  ASSERT_TRUE(system.StartProgram(Utf8(tool)));
  // A process start under a busy Wine takes seconds; only one that never runs takes this long.
  for (int i = 0; i < 600 && !Exists(tool + L".ran"); ++i) Sleep(50);
  EXPECT_TRUE(Exists(tool + L".ran"));
  EXPECT_FALSE(Exists(decoy + L".ran"));
  EXPECT_FALSE(system.StartProgram(Utf8(dir + L"\\missing.exe")));
}

// Run by real_program.sh while it records the sound server: a chime whose name lies outside
// code page 932 plays both strokes to the end.
TEST(SystemOutput, DISABLED_AChimeNamedOutsideTheCodePagePlays) {
  const std::string path = "C:\\音\\ﾁｬｲﾑ 鐘 ✓ 종.wav";
  const auto start = std::chrono::steady_clock::now();
  SystemOutput output;
  EXPECT_TRUE(wave::ChimePlayer(OpenChimeFile, [&] { return &output; }).PlayStrokes(path, 2));
  EXPECT_GT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500))
      << "two strokes of a 1.3 s chime returned early";
}

// Serves this thread's messages as the program's loop does (keys to the dialog manager first)
// until all posted before the call are handled and `done()`; false only after a hang's wait.
bool Pump(const std::function<bool()>& done = {}) {
  const UINT served = WM_APP + 0x3FF;  // posted behind the rest
  PostThreadMessageW(GetCurrentThreadId(), served, 0, 0);
  bool seen = false;
  for (const ULONGLONG limit = GetTickCount64() + 60000; GetTickCount64() < limit;) {
    MSG msg;
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      seen |= !msg.hwnd && msg.message == served;
      if (!Window::PreTranslate(msg)) DispatchMessageW(&msg);
    } else if (seen && (!done || done())) {
      return true;
    } else {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    }
  }
  return false;
}

// Every value of a key as it is stored (type and bytes); nothing when the key is absent.
using Values = std::map<std::wstring, std::pair<DWORD, std::vector<BYTE>>>;
std::optional<Values> Snapshot(const std::wstring& key) {
  HKEY h;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
    return std::nullopt;
  Values values;
  wchar_t name[256];
  BYTE data[4096];
  for (DWORD i = 0;; ++i) {
    DWORD nameSize = 256, type = 0, size = sizeof data;
    if (RegEnumValueW(h, i, name, &nameSize, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
    values[name] = {type, std::vector<BYTE>(data, data + size)};
  }
  RegCloseKey(h);
  return values;
}

// Answers each message box titled "Zoduzazu" (of any process) until Texts() is called.
struct BoxAnswerer {
  std::atomic<bool> stop = false;
  std::vector<std::wstring> texts;
  std::thread thread{[this] {
    for (; !stop; Sleep(20)) {
      const HWND box = FindWindowW(L"#32770", L"Zoduzazu");
      if (!box || !IsWindowVisible(box)) continue;
      wchar_t text[1024] = {};
      GetDlgItemTextW(box, 0xFFFF, text, 1024);  // the message's own control
      texts.push_back(text);
      PostMessageW(box, WM_COMMAND, IDOK, 0);
      for (int i = 0; i < 500 && IsWindow(box); ++i) Sleep(10);
    }
  }};
  ~BoxAnswerer() { Texts(); }
  std::vector<std::wstring> Texts() {
    stop = true;
    if (thread.joinable()) thread.join();
    return texts;
  }
};

class ProgramOnWin32 : public ::testing::Test {
 protected:
  void Start(bool h24, bool window) {
    RegistryStore store;
    store.Delete("Zazedor");
    store.SaveAll("Zazedor", "Zazedor",
                  {{"0", h24 ? "True" : "False"},
                   {"1", window ? "True" : "False"},
                   {"2", "False"},
                   {"3", "False"},
                   {"WAVE", "C:\\x.wav"},
                   {"WAVEName", " x.wav"}});
    app = std::make_unique<Application>(desktop);
    ASSERT_TRUE(app->Start());
    hwnd = reinterpret_cast<HWND>(app->Clock()->Window().Handle());
    ASSERT_TRUE(Pump());
  }
  void TearDown() override {
    app.reset();
    RegistryStore().Delete("Zazedor");
  }
  std::wstring MenuString(HMENU menu, UINT position) {
    wchar_t buf[256] = {};
    GetMenuStringW(menu, position, buf, 256, MF_BYPOSITION);
    return buf;
  }

  // Its store's writes fail from the `failAt`-th value of a save on (from 1; 0 for none), as on
  // a full disk.
  struct FullDiskDesktop : Win32Desktop {
    RegistryStore& Store() override { return store; }
    int failAt = 0, written = 0;
    RegistryStore store{[this](void* key, const std::wstring& name, const std::wstring& text) {
      if (name == L"0") written = 0;  // a save's first value
      if (++written == failAt) return static_cast<long>(ERROR_DISK_FULL);
      return static_cast<long>(
          RegSetValueExW(static_cast<HKEY>(key), name.c_str(), 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(text.c_str()),
                         static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))));
    }};
  } desktop;
  std::unique_ptr<Application> app;
  HWND hwnd = nullptr;
};

TEST_F(ProgramOnWin32, MenusCarryTheirCaptionsAndTheWindowItsOuterSize) {
  Start(true, true);
  HMENU bar = GetMenu(hwnd);
  EXPECT_EQ(MenuString(bar, 2), L"ﾊﾞｰｼﾞｮﾝ情報(&H)");
  HMENU file = GetSubMenu(bar, 0);
  EXPECT_EQ(MenuString(file, 0), L"ﾀｽｸﾄﾚｲに入れる(&T)\tCtrl+T");
  EXPECT_EQ(MenuString(GetSubMenu(bar, 1), 2), L"レジストリ削除(&D)\tCtrl+D");

  RECT r;  // the outer size in both layouts
  GetWindowRect(hwnd, &r);
  const int dpi = static_cast<int>(GetDpiForWindow(hwnd));
  EXPECT_EQ(r.right - r.left, MulDiv(3360, dpi, 1440));
  EXPECT_EQ(r.bottom - r.top, MulDiv(1440, dpi, 1440));
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_FALSE(GetWindowLongPtrW(hwnd, GWL_STYLE) & (WS_MAXIMIZEBOX | WS_THICKFRAME));

  app->Clock()->ApplyLayout(false);
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.right - r.left, MulDiv(4785, dpi, 1440));

  app->SwitchTrayMode(false);  // the caption follows the presentation
  EXPECT_EQ(MenuString(file, 0), L"ﾀｽｸトレイから出す(&T)\tCtrl+T");
}

TEST_F(ProgramOnWin32, TheIconIsAddedAgainWhenTheTaskbarReturnsAndGoesAtTheSessionsEnd) {
  Start(false, false);
  EXPECT_FALSE(IsWindowVisible(hwnd));
  NOTIFYICONDATAW probe{};
  probe.cbSize = sizeof probe;
  probe.hWnd = hwnd;
  probe.uID = 1;
  probe.uFlags = 0;
  EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &probe));  // the shell knows our icon

  SendMessageW(hwnd, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(desktop.Tray().Holds(reinterpret_cast<NativeHandle>(hwnd), 1));
  EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &probe));
  EXPECT_FALSE(IsWindowVisible(hwnd));

  EXPECT_TRUE(SendMessageW(hwnd, WM_QUERYENDSESSION, 0, 0));
  SendMessageW(hwnd, WM_ENDSESSION, FALSE, 0);  // cancelled: the clock goes on
  EXPECT_TRUE(app->Clock());
  SendMessageW(hwnd, WM_ENDSESSION, TRUE, 0);
  EXPECT_FALSE(app->Clock());
  EXPECT_FALSE(desktop.Tray().Holds(reinterpret_cast<NativeHandle>(hwnd), 1));
  EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &probe));
}

TEST_F(ProgramOnWin32, AnOkThatFailsAtAnyWriteLeavesTheRegistryAsItWasAndSaysSoOnce) {
  Start(true, true);
  const std::wstring appKey = L"Software\\VB and VBA Program Settings\\Zazedor";
  const std::wstring section = appKey + L"\\Zazedor";
  // Texts other than those OK writes, a value of another type, one absent, and someone
  // else's: a write left in place shows whichever write fails after it.
  for (const auto& [name, text] :
       {std::pair{L"0", L"-1"}, {L"1", L"true"}, {L"2", L"0"}, {L"WAVE", L"C:\\y.wav"}})
    Plant(section.c_str(), name, REG_SZ, text, (lstrlenW(text) + 1) * sizeof(wchar_t));
  const DWORD number = 7;
  Plant(section.c_str(), L"3", REG_DWORD, &number, sizeof number);
  Plant(section.c_str(), L"other", REG_BINARY, "\x01\x02", 2);
  RegDeleteKeyValueW(HKEY_CURRENT_USER, section.c_str(), L"WAVEName");
  const auto ok = [&](int failAt) {
    desktop.failAt = failAt;
    app->OpenOptions();
    BoxAnswerer boxes;
    app->Options().Window().Ctl("btnOKCAN", kButtonOk).UserClick();
    return boxes.Texts();
  };
  const std::vector<std::wstring> notSaved{
      L"設定を保存できませんでした。ディスクの空き領域が足りません。"};
  for (const bool deleted : {false, true}) {
    // After the delete command the key is absent, and a failed OK must leave it so.
    if (deleted) app->Clock()->DeleteSettings();
    const auto before = Snapshot(section);
    ASSERT_EQ(before.has_value(), !deleted);
    for (int n = 1; n <= 6; ++n) {
      EXPECT_EQ(ok(n), notSaved) << "write " << n;
      EXPECT_EQ(Snapshot(section), before) << "write " << n;
      EXPECT_EQ(Snapshot(appKey).has_value(), !deleted) << "write " << n;
    }
  }
  EXPECT_TRUE(ok(0).empty());
  EXPECT_EQ(Snapshot(section)->size(), 6u);
}

TEST(RealProgram, AFirstRunThatCannotStoreItsDefaultsSaysSoInABoxAndEndsWithStatus1) {
  // No lasting key can be made below a volatile one: the first run's write fails as on a
  // registry the user may not write to.
  HKEY root, volatileApp;
  RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings", 0, nullptr, 0,
                  KEY_ALL_ACCESS, nullptr, &root, nullptr);
  RegistryStore().Delete("Zazedor");
  ASSERT_EQ(RegCreateKeyExW(root, L"Zazedor", 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                            nullptr, &volatileApp, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(volatileApp);

  BoxAnswerer boxes;
  std::wstring line = L"\"" + WindowsPath(ZDZ_PROGRAM_EXE) + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(
      CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  EXPECT_EQ(WaitForSingleObject(pi.hProcess, 30000), WAIT_OBJECT_0);
  DWORD status = 0;
  GetExitCodeProcess(pi.hProcess, &status);
  TerminateProcess(pi.hProcess, 9);  // nothing to do once it has ended
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  const auto texts = boxes.Texts();
  RegDeleteKeyW(root, L"Zazedor");
  RegCloseKey(root);

  EXPECT_EQ(status, 1u);
  ASSERT_EQ(texts.size(), 1u);
  const std::string text = Utf8(texts[0]);
  EXPECT_EQ(text.rfind("zoduzazu: cannot keep the settings: ", 0), 0u) << text;
  EXPECT_NE(text.find("Zazedor\\Zazedor"), std::string::npos) << text;
}

bool Press(HWND focus, WPARAM key, const std::function<bool()>& done = {}) {
  SetFocus(focus);
  PostMessageW(focus, WM_KEYDOWN, key, 0);
  return Pump(done);
}

HWND ChildWithStyle(HWND window, const wchar_t* cls, LONG_PTR style) {
  for (HWND c = FindWindowExW(window, nullptr, cls, nullptr); c;
       c = FindWindowExW(window, c, cls, nullptr))
    if ((GetWindowLongPtrW(c, GWL_STYLE) & 0xF) == style) return c;
  return nullptr;
}

// With DPI awareness a real move at x = 513 would read as the icon's left click.
TEST_F(ProgramOnWin32, ClicksKeysAndTheIconsReportsReachTheModelAndRealMouseMovesDoNot) {
  Start(true, true);
  int seen = 0;
  app->Clock()->Window().onMouseMove = [&](int, int, int, int) { ++seen; };
  for (int x : {0x201, 0x203, 0x204}) SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, 10));
  EXPECT_EQ(seen, 0);
  SendMessageW(hwnd, kTrayMessage, 1, WM_RBUTTONDOWN);
  EXPECT_EQ(seen, 1);

  app->Clock()->OpenOptions();
  HWND options = reinterpret_cast<HWND>(app->Options().Window().Handle());
  SendMessageW(ChildWithStyle(options, L"Button", BS_AUTOCHECKBOX), BM_CLICK, 0, 0);
  EXPECT_EQ(app->State().OptFlag[2], kTrue);  // the chime's check box reads its own click
  ASSERT_TRUE(Press(ChildWithStyle(options, L"Button", BS_AUTORADIOBUTTON), VK_RETURN));
  EXPECT_TRUE(IsWindowVisible(options));  // no default button: Enter does nothing
  EXPECT_TRUE(Press(ChildWithStyle(options, L"Button", BS_AUTORADIOBUTTON), VK_ESCAPE,
                    [&] { return !IsWindowVisible(options); }));
  EXPECT_TRUE(IsWindowEnabled(hwnd));

  app->Clock()->OpenVersion();
  HWND about = reinterpret_cast<HWND>(app->About().Window().Handle());
  ASSERT_TRUE(IsWindowVisible(about));
  EXPECT_TRUE(Press(ChildWithStyle(about, L"Static", SS_ICON), VK_RETURN,  // the default button
                    [&] { return !IsWindowVisible(about); }));
}

// The program's icon at each DPI: the sizes loaded, the images they come from, and a DPI
// change reaching the tray, the title bar and the version dialog's picture and title.
struct Shape {
  int width = 0;
  bool softEdges = false;  // some pixel partly transparent: drawn from a full-colour image
};

Shape ShapeOf(HICON icon) {
  Shape shape;
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon, &info)) return shape;
  BITMAP bm{};
  GetObjectW(info.hbmColor, sizeof bm, &bm);
  shape.width = bm.bmWidth;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = bm.bmWidth;
  bi.bmiHeader.biHeight = -bm.bmHeight;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  std::vector<DWORD> px(static_cast<std::size_t>(bm.bmWidth * bm.bmHeight));
  HDC dc = GetDC(nullptr);
  GetDIBits(dc, info.hbmColor, 0, static_cast<UINT>(bm.bmHeight), px.data(), &bi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  for (DWORD p : px) shape.softEdges |= (p >> 24) > 0 && (p >> 24) < 255;
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return shape;
}

TEST(AppIcon, EachScaleGetsFullColourImagesOfItsOwnSizes) {
  struct Scale {
    int dpi, small, large;
  };
  for (const Scale s :
       {Scale{96, 16, 32}, Scale{120, 20, 40}, Scale{144, 24, 48}, Scale{192, 32, 64}}) {
    SCOPED_TRACE(s.dpi);
    ASSERT_EQ(SmallIconSize(s.dpi), s.small);
    ASSERT_EQ(LargeIconSize(s.dpi), s.large);
    for (int size : {s.small, s.large}) {
      const Shape shape = ShapeOf(AppIcon(size));
      EXPECT_EQ(shape.width, size);
      // From (or stretched from) a 16-colour image, a picture has no partly covered pixel: the
      // full-colour one of the same size must win over it, so every scale shows one design.
      EXPECT_TRUE(shape.softEdges) << size << " px";
    }
  }
  EXPECT_EQ(ShapeOf(AppIcon(256)).width, 256);
}

void ChangeDpi(HWND window, int dpi) {
  RECT at;
  GetWindowRect(window, &at);
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&at));
}

TEST_F(ProgramOnWin32, ADpiChangeRedrawsTheIconsAndTheVersionTitleKeepsItsLastLetter) {
  Start(true, false);  // into the tray
  auto& tray = static_cast<Tray&>(desktop.Tray());
  const auto trayPicture = [&] {
    return ShapeOf(tray.Picture(app->Clock()->Window().Handle(), 1)).width;
  };
  const auto windowIcon = [&](WPARAM which) {
    return ShapeOf(reinterpret_cast<HICON>(SendMessageW(hwnd, WM_GETICON, which, 0))).width;
  };
  const int dpi = static_cast<int>(GetDpiForWindow(hwnd));
  EXPECT_EQ(trayPicture(), SmallIconSize(dpi));
  EXPECT_EQ(windowIcon(ICON_SMALL), SmallIconSize(dpi));
  EXPECT_EQ(windowIcon(ICON_BIG), LargeIconSize(dpi));

  for (int to : {144, 192, 96}) {
    SCOPED_TRACE(to);
    ChangeDpi(hwnd, to);
    EXPECT_EQ(trayPicture(), SmallIconSize(to));
    EXPECT_EQ(windowIcon(ICON_SMALL), SmallIconSize(to));
    EXPECT_EQ(windowIcon(ICON_BIG), LargeIconSize(to));
    EXPECT_EQ(ShapeOf(reinterpret_cast<HICON>(app->Clock()->Window().IconHandle())).width,
              SmallIconSize(to));
  }

  // An icon the shell lost without a "TaskbarCreated" is added again, with the new picture.
  NOTIFYICONDATAW held{};
  held.cbSize = sizeof held;
  held.hWnd = hwnd;
  held.uID = 1;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &held));
  ChangeDpi(hwnd, 144);
  EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &held)) << "the shell holds no icon";
  EXPECT_EQ(trayPicture(), SmallIconSize(144));

  Form& about = app->About().Window();
  about.Show();
  HWND dialog = reinterpret_cast<HWND>(about.Handle());
  HWND picture = ChildWithStyle(dialog, L"Static", SS_ICON);
  ASSERT_NE(picture, nullptr);
  const auto shown = [&] {
    return ShapeOf(reinterpret_cast<HICON>(SendMessageW(picture, STM_GETICON, 0, 0))).width;
  };
  EXPECT_EQ(shown(), LargeIconSize(dpi));
  HWND title = nullptr;  // the italic one of the two "Zoduzazu" labels
  LOGFONTW face{};
  for (HWND c = nullptr;
       !face.lfItalic && (c = FindWindowExW(dialog, c, L"Static", L"Zoduzazu"));) {
    title = c;
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)), sizeof face, &face);
  }
  ASSERT_TRUE(face.lfItalic) << "no italic title";
  for (int to : {96, 120, 144, 192}) {
    SCOPED_TRACE(to);
    ChangeDpi(dialog, to);
    EXPECT_EQ(shown(), LargeIconSize(to));  // the picture at its scaled size, in a scaled box
    // The title, condensed into the layout's box, keeps the lean of its italic's last letter
    // (up to a quarter of the face's height past its advance) inside the box.
    RECT box;
    GetClientRect(title, &box);
    HDC dc = GetDC(title);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(title, WM_GETFONT, 0, 0)));
    SIZE text{};
    TEXTMETRICW metrics{};
    GetTextExtentPoint32W(dc, L"Zoduzazu", 8, &text);
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(title, dc);
    EXPECT_EQ(box.right, MulDiv(1815, to, 1440));
    EXPECT_LE(text.cx + metrics.tmHeight / 4, box.right);
  }
  about.Hide();
}

}  // namespace
}  // namespace zdz::win32
