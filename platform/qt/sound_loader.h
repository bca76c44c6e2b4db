#pragma once
// The sound output, loaded on the first sound: the libraries that decode and play a chime cost
// memory all day for a sound once an hour, so they live in a module (zoduzazu-sound) of their
// own, beside the program in the build tree, in <prefix>/libexec/zoduzazu once installed.

#include <atomic>

#include "platform/wave/sound_output.h"

namespace zdz::qt {

class SoundLoader {
 public:
  SoundLoader() = default;
  ~SoundLoader();
  SoundLoader(const SoundLoader&) = delete;
  SoundLoader& operator=(const SoundLoader&) = delete;

  // The module's output, loaded at the first call; null when it cannot be loaded.
  wave::Output* Load();
  // Cuts short whatever plays; safe inside a signal handler.
  void Interrupt();

 private:
  bool tried_ = false;
  std::atomic<wave::Output*> output_{nullptr};
  void (*interrupt_)(wave::Output*) = nullptr;
  void (*destroy_)(wave::Output*) = nullptr;
};

}  // namespace zdz::qt
