// Watches a clock's time label from another process under Wine and prints the real time of
// every change of its text, one "SECONDS.NANOSECONDS TEXT" line each (UTF-8), for a given
// number of seconds. The text is read from the window manager's copy, so the clock itself
// handles no message for it.
//
//   zdz_caption_probe_win32 WINDOW_TITLE SECONDS

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <cwctype>

namespace {

bool LooksLikeTime(const wchar_t* text) {
  const size_t n = std::wcslen(text);
  for (size_t i = 0; i + 8 <= n; ++i) {
    const wchar_t* t = text + i;
    if (std::iswdigit(t[0]) && std::iswdigit(t[1]) && t[2] == L':' && std::iswdigit(t[3]) &&
        std::iswdigit(t[4]) && t[5] == L':' && std::iswdigit(t[6]) && std::iswdigit(t[7]))
      return true;
  }
  return false;
}

BOOL CALLBACK FindTimeLabel(HWND child, LPARAM found) {
  wchar_t text[64];
  if (GetWindowTextW(child, text, 64) > 0 && LooksLikeTime(text)) {
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
  }
  return TRUE;
}

// Unix time in ns, from the precise system clock.
long long NowNs() {
  FILETIME ft;
  GetSystemTimePreciseAsFileTime(&ft);
  const long long ticks = (static_cast<long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
  return (ticks - 116444736000000000LL) * 100;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: zdz_caption_probe_win32 WINDOW_TITLE SECONDS\n");
    return 2;
  }
  const long long seconds = std::wcstol(argv[2], nullptr, 10);
  HWND label = nullptr;
  // The clock may still be starting.
  for (int i = 0; i < 100 && !label; ++i) {
    if (HWND top = FindWindowW(nullptr, argv[1]))
      EnumChildWindows(top, FindTimeLabel, reinterpret_cast<LPARAM>(&label));
    if (!label) Sleep(100);
  }
  if (!label) {
    std::fprintf(stderr, "zdz_caption_probe_win32: no time label in a window so named\n");
    return 1;
  }
  wchar_t shown[64] = L"";
  const long long end = NowNs() + seconds * 1000000000LL;
  for (long long now = NowNs(); now < end; now = NowNs()) {
    wchar_t text[64];
    if (GetWindowTextW(label, text, 64) > 0 && std::wcscmp(text, shown) != 0) {
      const long long at = NowNs();
      std::wcscpy(shown, text);
      char utf8[256];
      WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
      std::printf("%lld.%09lld %s\n", at / 1000000000LL, at % 1000000000LL, utf8);
      std::fflush(stdout);
    }
    Sleep(1);
  }
  return 0;
}
