#pragma once
// The sound service, loaded on the first sound: the libraries that decode and play a chime cost
// memory all day for a sound once an hour, so they live in a module (zoduzazu-sound) of their
// own, beside the program in the build tree, in <prefix>/libexec/zoduzazu once installed.

#include <atomic>
#include <string>

#include "platform/sound.h"

namespace zdz::qt {

class LazySound : public Sound {
 public:
  LazySound() = default;
  ~LazySound() override;
  LazySound(const LazySound&) = delete;
  LazySound& operator=(const LazySound&) = delete;

  // Files are read here, so a missing one loads nothing.
  wave::Opener FileOpener() override;
  bool Output(std::shared_ptr<const wave::Image> image, int strokes, bool async) override;
  void Stop() override;
  // Cuts short whatever plays; safe inside a signal handler.
  void Interrupt();

 private:
  Sound* Loaded();  // nullptr when the module cannot be loaded

  bool tried_ = false;
  std::atomic<Sound*> sound_{nullptr};
  void (*interrupt_)(Sound*) = nullptr;
  void (*destroy_)(Sound*) = nullptr;
};

}  // namespace zdz::qt
