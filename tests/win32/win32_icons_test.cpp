// The program's icon at each DPI under Wine: the sizes loaded, the images they come from, and a
// DPI change reaching the tray, the title bar and the version dialog's picture and title.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "about/about_dialog.h"
#include "clock/clock_window.h"
#include "core/application.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_icons.h"
#include "platform/win32/win32_tray.h"

namespace zdz::win32 {
namespace {

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

HWND IconPicture(HWND dialog) {
  for (HWND c = FindWindowExW(dialog, nullptr, L"Static", nullptr); c;
       c = FindWindowExW(dialog, c, L"Static", nullptr)) {
    if ((GetWindowLongPtrW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) return c;
  }
  return nullptr;
}

void ChangeDpi(HWND window, int dpi) {
  RECT at;
  GetWindowRect(window, &at);
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&at));
}

TEST(AppIcon, ADpiChangeRedrawsTheIconsAndTheVersionTitleKeepsItsLastLetter) {
  RegistryStore store;
  store.Delete("Zazedor");
  store.SaveAll("Zazedor", "Zazedor",
                {{"0", "True"},
                 {"1", "False"},
                 {"2", "False"},
                 {"3", "False"},
                 {"WAVE", "C:\\x.wav"},
                 {"WAVEName", " x.wav"}});
  Win32Desktop desktop;
  auto app = std::make_unique<Application>(desktop);
  ASSERT_TRUE(app->Start());  // into the tray
  HWND clock = reinterpret_cast<HWND>(app->Clock()->Window().Handle());
  auto& tray = static_cast<Tray&>(desktop.Tray());
  const auto trayPicture = [&] {
    return ShapeOf(tray.Picture(app->Clock()->Window().Handle(), 1)).width;
  };
  const auto windowIcon = [&](WPARAM which) {
    return ShapeOf(reinterpret_cast<HICON>(SendMessageW(clock, WM_GETICON, which, 0))).width;
  };
  const int dpi = static_cast<int>(GetDpiForWindow(clock));
  EXPECT_EQ(trayPicture(), SmallIconSize(dpi));
  EXPECT_EQ(windowIcon(ICON_SMALL), SmallIconSize(dpi));
  EXPECT_EQ(windowIcon(ICON_BIG), LargeIconSize(dpi));

  for (int to : {144, 192, 96}) {
    SCOPED_TRACE(to);
    ChangeDpi(clock, to);
    EXPECT_EQ(trayPicture(), SmallIconSize(to));
    EXPECT_EQ(windowIcon(ICON_SMALL), SmallIconSize(to));
    EXPECT_EQ(windowIcon(ICON_BIG), LargeIconSize(to));
    EXPECT_EQ(ShapeOf(reinterpret_cast<HICON>(app->Clock()->Window().IconHandle())).width,
              SmallIconSize(to));
  }

  // An icon the shell lost without a "TaskbarCreated" is added again, with the new picture.
  NOTIFYICONDATAW held{};
  held.cbSize = sizeof held;
  held.hWnd = clock;
  held.uID = 1;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &held));
  ChangeDpi(clock, 144);
  EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &held)) << "the shell holds no icon";
  EXPECT_EQ(trayPicture(), SmallIconSize(144));

  Form& about = app->About().Window();
  about.Show();
  HWND dialog = reinterpret_cast<HWND>(about.Handle());
  HWND picture = IconPicture(dialog);
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

  app.reset();
  store.Delete("Zazedor");
}

}  // namespace
}  // namespace zdz::win32
