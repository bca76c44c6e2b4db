#pragma once
// The message that ends a running clock at once, chime or not: the setup program posts it before
// it replaces the files. A registered name rather than a menu command's number, so that a new
// menu order cannot turn it into another command. CMake reads the name from this line for the
// setup script (packaging/win32): keep it on one line, plain ASCII.

#include "platform/win32/win32_api.h"

namespace zdz::win32 {

inline constexpr wchar_t kExitMessageName[] = L"Zoduzazu.EndNow.2f6c1b9e";

inline UINT ExitMessage() {
  static const UINT message = RegisterWindowMessageW(kExitMessageName);
  return message;
}

}  // namespace zdz::win32
