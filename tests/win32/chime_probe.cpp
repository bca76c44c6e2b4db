// Acts on the clock from another process, as a test needs it:
//   zdz_win32_chime_probe answers TITLE SECONDS: sends WM_NULL to the window again and again for
//     SECONDS and prints the longest wait for an answer ("gone" when the window went away);
//   zdz_win32_chime_probe click TITLE CAPTION: clicks the button CAPTION of window TITLE;
//   zdz_win32_chime_probe exit TITLE SECONDS: posts the exit message, prints the milliseconds
//     until the process is gone ("alive" when it outlives SECONDS);
//   zdz_win32_chime_probe endsession TITLE SECONDS: sends WM_QUERYENDSESSION, then
//     WM_ENDSESSION (TRUE), each with SECONDS to answer; prints the query's answer and each
//     one's milliseconds ("none" where it had no answer).
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/win32/exit_message.h"

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
  const DWORD seconds = static_cast<DWORD>(_wtoi(argv[3]));
  if (mode == L"exit") {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    const ULONGLONG start = GetTickCount64();
    if (!process || !PostMessageW(window, zdz::win32::ExitMessage(), 0, 0)) return 1;
    const bool gone = WaitForSingleObject(process, 1000 * seconds) == WAIT_OBJECT_0;
    if (gone)
      std::printf("%llu\n", GetTickCount64() - start);
    else
      std::printf("alive\n");
    return gone ? 0 : 1;
  }
  if (mode == L"endsession") {
    DWORD_PTR answer = 0;
    const UINT ms = 1000 * seconds;
    const ULONGLONG start = GetTickCount64();
    const bool query =
        SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, ms, &answer);
    const ULONGLONG asked = GetTickCount64();
    const bool end = SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, ms, nullptr);
    std::printf("%s %s %s\n", query ? (answer ? "TRUE" : "FALSE") : "none",
                query ? std::to_string(asked - start).c_str() : "-",
                end ? std::to_string(GetTickCount64() - asked).c_str() : "none");
    return 0;
  }
  const ULONGLONG end = GetTickCount64() + 1000ULL * seconds;
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
