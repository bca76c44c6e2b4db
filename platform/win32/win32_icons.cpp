#include "platform/win32/win32_icons.h"

#include <map>

namespace zdz::win32 {

int SmallIconSize(int dpi) { return GetSystemMetricsForDpi(SM_CXSMICON, static_cast<UINT>(dpi)); }

int LargeIconSize(int dpi) { return GetSystemMetricsForDpi(SM_CXICON, static_cast<UINT>(dpi)); }

HICON AppIcon(int pixels) {
  // Not LR_SHARED: a shared icon keeps the size it was first loaded at.
  static std::map<int, HICON> loaded;
  HICON& icon = loaded[pixels];
  if (!icon)
    icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON,
                                         pixels, pixels, LR_DEFAULTCOLOR));
  return icon;
}

void ApplyWindowIcons(HWND window, int dpi) {
  SendMessageW(window, WM_SETICON, ICON_SMALL,
               reinterpret_cast<LPARAM>(AppIcon(SmallIconSize(dpi))));
  SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(AppIcon(LargeIconSize(dpi))));
}

void ShowIconPicture(HWND picture, int dpi) {
  // The control centres the icon at the icon's own size (SS_CENTERIMAGE), so the size loaded
  // is the size drawn.
  SendMessageW(picture, STM_SETICON, reinterpret_cast<WPARAM>(AppIcon(LargeIconSize(dpi))), 0);
}

}  // namespace zdz::win32
