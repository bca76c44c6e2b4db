#pragma once
// The waveOut calls of winmm.dll, looked up when the first chime plays.

#include "platform/win32/win32_api.h"

namespace zdz::win32 {

// winmm is not a KnownDLL: bound at load time, Windows would take a winmm.dll lying beside
// the program (a download folder) before the system's. It is loaded from System32 only, by
// hand rather than through a delay-import library, whose helper raises an exception where a
// function is missing; here a missing function only means no sound.
struct WaveOut {
  decltype(&::waveOutOpen) open = nullptr;
  decltype(&::waveOutPrepareHeader) prepare = nullptr;
  decltype(&::waveOutWrite) write = nullptr;
  decltype(&::waveOutReset) reset = nullptr;
  decltype(&::waveOutUnprepareHeader) unprepare = nullptr;
  decltype(&::waveOutClose) close = nullptr;

  // All of them from System32's winmm, or none; looked up once for the process.
  static const WaveOut& System();
  explicit operator bool() const { return close != nullptr; }
};

}  // namespace zdz::win32
