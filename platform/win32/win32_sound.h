#pragma once
// WAV playback through waveOut, from the checked copy in memory.

#include <memory>

#include "platform/sound.h"

namespace zdz::win32 {

class SystemSound : public Sound {
 public:
  explicit SystemSound(int maxStrokeSeconds = kMaxStrokeSeconds);
  ~SystemSound() override;

  wave::Opener FileOpener() override;
  // Synchronous plays wait on the device's event without serving messages: a click or a
  // command that arrives during the strokes waits in the queue until they have ended.
  bool Output(std::shared_ptr<const wave::Image> image, int strokes, bool async) override;
  void Stop() override;

  struct Device;  // an open waveOut device and the strokes queued on it

 private:
  std::unique_ptr<Device> playing_;  // the asynchronous sound
};

}  // namespace zdz::win32
