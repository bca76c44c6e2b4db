#pragma once
// The value conventions the program's stored settings and records are written in.

#include <cstdint>

namespace zdz {

// 16-bit Boolean: True is -1, any non-zero value tests as True.
using VbBool = std::int16_t;
inline constexpr VbBool kTrue = -1;
inline constexpr VbBool kFalse = 0;
constexpr VbBool ToVb(bool b) { return b ? kTrue : kFalse; }

// Colour as 0x00BBGGRR; the top bit marks a system-colour index.
using Color = std::uint32_t;
inline constexpr Color kBlack = 0x000000;
inline constexpr Color kWhite = 0xFFFFFF;
inline constexpr Color kGreen = 0x00FF00;
inline constexpr Color kSilver = 0xC0C0C0;
inline constexpr Color kGrey = 0x808080;
inline constexpr Color kSysButtonFace = 0x8000000F;
inline constexpr Color kDefaultColor = 0xFFFFFFFF;  // "whatever the desktop draws by default"

// An opaque native handle (HWND, HICON, X11 window id...).
using NativeHandle = std::uintptr_t;

}  // namespace zdz
