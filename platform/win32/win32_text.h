#pragma once
// UTF-8 in the core, UTF-16 at the Win32 edge.

#include <string>

namespace zdz::win32 {

std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& wide);

}  // namespace zdz::win32
