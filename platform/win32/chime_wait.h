#pragma once
// The wait for a chime's strokes on the window's thread.

#include "platform/win32/win32_api.h"

namespace zdz::win32 {

// Waits up to `ms` for `event`. Meanwhile what other programs and the system send to the thread's
// windows is answered (the session's end, setup's questions), while posted input (clicks, keys,
// menu commands, the notification icon's reports) stays queued for after the chime. Returns
// false at once when the chime must end: the exit message or the end of the program is queued.
bool WaitForChime(HANDLE event, DWORD ms);

// True inside WaitForChime: what arrives as a sent message but is the user's input waits.
bool ChimeWaiting();

}  // namespace zdz::win32
