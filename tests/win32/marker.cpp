// Started by the desktop test as the system-information tool: writes its own path beside it.
#include <windows.h>

#include <string>

int wmain(int, wchar_t** argv) {
  const std::wstring mark = std::wstring(argv[0]) + L".ran";
  HANDLE f = CreateFileW(mark.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return 1;
  CloseHandle(f);
  return 0;
}
