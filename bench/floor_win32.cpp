// The Windows floor: the least a Win32 clock can do, a STATIC label that a 100 ms timer keeps
// at the local time. The clock's costs under Wine are read against this one's.

#include <windows.h>

#include <cwchar>

namespace {

HWND label;
int shownSecond = -1;

// Only a new second is written, as a Qt label skips an unchanged text on its own.
void ShowTime() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  if (now.wSecond == shownSecond) return;
  shownSecond = now.wSecond;
  wchar_t text[16];
  std::swprintf(text, 16, L"%02u:%02u:%02u", now.wHour, now.wMinute, now.wSecond);
  SetWindowTextW(label, text);
}

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_TIMER:
      ShowTime();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"ZdzFloor";
  RegisterClassW(&wc);
  HWND window = CreateWindowW(L"ZdzFloor", L"Win32 floor", WS_OVERLAPPEDWINDOW, 300, 200, 200, 80,
                              nullptr, nullptr, instance, nullptr);
  label = CreateWindowW(L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_CENTER, 10, 10, 160, 20, window,
                        nullptr, instance, nullptr);
  ShowTime();
  SetTimer(window, 1, 100, nullptr);
  ShowWindow(window, show);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
