// The Windows program: builds the Win32 desktop and hands it to the core.

#include "platform/win32/win32_api.h"

#include "core/application.h"
#include "platform/win32/win32_desktop.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // From here on a DLL loaded by name comes from System32, never from the program's folder (a
  // download folder may hold anything) or the current one. Nothing loads one earlier: every DLL
  // bound at load time is a KnownDLL, mapped from System32 whatever the folder holds, and the
  // static objects built before this line make no call that loads a library.
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  zdz::win32::Win32Desktop desktop;
  zdz::Application program(desktop);
  if (!program.Start()) return 1;
  return desktop.Run();
}
