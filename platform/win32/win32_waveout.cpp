#include "platform/win32/win32_waveout.h"

namespace zdz::win32 {

namespace {

// GCC accepts a cast through the generic function type without -Wcast-function-type.
template <typename F>
bool Find(HMODULE dll, const char* name, F& to) {
  to = reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(dll, name)));
  return to != nullptr;
}

WaveOut Load() {
  HMODULE module = LoadLibraryExW(L"winmm.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (!module) return {};
  WaveOut calls;
  if (Find(module, "waveOutOpen", calls.open) &&
      Find(module, "waveOutPrepareHeader", calls.prepare) &&
      Find(module, "waveOutWrite", calls.write) && Find(module, "waveOutReset", calls.reset) &&
      Find(module, "waveOutUnprepareHeader", calls.unprepare) &&
      Find(module, "waveOutClose", calls.close)) {
    return calls;  // the module stays loaded for the life of the process
  }
  FreeLibrary(module);
  return {};
}

}  // namespace

const WaveOut& WaveOut::System() {
  static const WaveOut calls = Load();
  return calls;
}

}  // namespace zdz::win32
