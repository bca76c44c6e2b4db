// Acts on the clock from another process, as a test needs it:
//   zdz_win32_chime_probe answers TITLE SECONDS: sends WM_NULL to the window again and again for
//     SECONDS and prints the longest wait for an answer ("gone" when the window went away);
//   zdz_win32_chime_probe click TITLE CAPTION: clicks the button CAPTION of window TITLE.
#include <windows.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) return 2;
  const std::wstring mode = argv[1];
  HWND window = FindWindowW(nullptr, argv[2]);
  if (!window) {
    std::printf("no window\n");
    return 1;
  }
  if (mode == L"click") {
    HWND button = FindWindowExW(window, nullptr, L"Button", argv[3]);
    return button && PostMessageW(button, BM_CLICK, 0, 0) ? 0 : 1;
  }
  const ULONGLONG end = GetTickCount64() + 1000ULL * _wtoi(argv[3]);
  ULONGLONG longest = 0;
  while (GetTickCount64() < end) {
    const ULONGLONG start = GetTickCount64();
    DWORD_PTR result = 0;
    const bool answered =
        SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 120000, &result) != 0;
    longest = std::max(longest, GetTickCount64() - start);
    if (!answered && !IsWindow(window)) {
      std::printf("gone\n");
      return 1;
    }
    Sleep(20);
  }
  std::printf("%llu\n", longest);
  return 0;
}
