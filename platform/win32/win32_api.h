#pragma once
// <windows.h> and the headers that need it first, without the macros that would
// rename the program's own interfaces (CreateWindow, MessageBox). The other system
// headers come from here so that include sorting cannot put them before <windows.h>.

// clang-format off
#include <windows.h>
#include <commdlg.h>
#include <mmsystem.h>
#include <shellapi.h>
#include <windowsx.h>
// clang-format on

#undef CreateWindow
#undef MessageBox
