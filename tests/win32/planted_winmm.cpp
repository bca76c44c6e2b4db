// A winmm.dll such as a download folder may hold beside the program: loading it leaves a mark
// file beside it ("winmm.dll.loaded"). It plays nothing.
#include <windows.h>

#include <cwchar>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t mark[MAX_PATH + 8];
  const DWORD n = GetModuleFileNameW(self, mark, MAX_PATH);
  if (n == 0 || n == MAX_PATH) return TRUE;
  std::wcscpy(mark + n, L".loaded");
  HANDLE f = CreateFileW(mark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
  return TRUE;
}
