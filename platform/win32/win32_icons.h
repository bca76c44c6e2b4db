#pragma once
// The program's icon at the sizes a DPI asks for: the tray's and the title bar's small icon,
// the large one of Alt+Tab and of the version dialog's picture.

#include "platform/win32/win32_api.h"

namespace zdz::win32 {

// The shell's small (SM_CXSMICON) and large (SM_CXICON) icon sizes at `dpi`: 16 and 32 pixels
// at 96 dpi, 32 and 64 at 192.
int SmallIconSize(int dpi);
int LargeIconSize(int dpi);

// The alarm clock `pixels` wide, from the resource's image of that size (or the nearest, scaled).
// Loaded once per size and kept for the program's life: shells and windows hold the handles.
HICON AppIcon(int pixels);

// A top-level window's title-bar and Alt+Tab icons for its DPI.
void ApplyWindowIcons(HWND window, int dpi);

// A picture control showing the program icon at the large size of `dpi`.
void ShowIconPicture(HWND picture, int dpi);

}  // namespace zdz::win32
