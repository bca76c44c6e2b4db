#pragma once
// <windows.h> without the macros that would rename the program's own interfaces
// (CreateWindow, MessageBox).

#include <windows.h>

#undef CreateWindow
#undef MessageBox
