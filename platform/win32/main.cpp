// The Windows program: builds the Win32 desktop and hands it to the core.

#include "platform/win32/win32_api.h"

#include "core/application.h"
#include "platform/win32/win32_desktop.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  zdz::win32::Win32Desktop desktop;
  zdz::Application program(desktop);
  if (!program.Start()) return 1;
  return desktop.Run();
}
