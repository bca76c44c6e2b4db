#include "platform/win32/chime_wait.h"

#include "platform/win32/exit_message.h"

namespace zdz::win32 {

namespace {

bool waiting = false;  // the window's thread only

// Looks only for the two messages, but any PeekMessage first delivers the sent ones.
bool EndQueued() {
  MSG msg;
  const UINT exit = ExitMessage();
  return PeekMessageW(&msg, nullptr, exit, exit, PM_NOREMOVE) ||
         PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE);
}

}  // namespace

bool ChimeWaiting() { return waiting; }

bool WaitForChime(HANDLE event, DWORD ms) {
  struct Mark {
    Mark() { waiting = true; }
    ~Mark() { waiting = false; }
  } mark;
  const ULONGLONG until = GetTickCount64() + ms;
  for (;;) {
    if (EndQueued()) return false;
    const ULONGLONG now = GetTickCount64();
    if (now >= until) return true;
    // Wakes for new sent or posted messages only: input already seen waits without a busy loop.
    const DWORD woke = MsgWaitForMultipleObjectsEx(1, &event, static_cast<DWORD>(until - now),
                                                   QS_SENDMESSAGE | QS_POSTMESSAGE, 0);
    if (woke != WAIT_OBJECT_0 + 1) return true;  // the event, the time-out or a failure
  }
}

}  // namespace zdz::win32
