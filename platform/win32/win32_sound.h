#pragma once
// WAV playback through waveOut, from the checked copy in memory.

#include <memory>
#include <string>

#include "platform/wave/sound_output.h"

namespace zdz::win32 {

// A chime file on a disk, by its wide path (so a name outside the system's code page opens
// too); null for anything else.
std::unique_ptr<wave::ByteSource> OpenChimeFile(const std::string& name);

class SystemOutput : public wave::Output {
 public:
  SystemOutput();
  ~SystemOutput() override;

  // Synchronous plays wait on the device's event without serving messages: a click or a
  // command that arrives during the strokes waits in the queue until they have ended.
  bool Play(std::shared_ptr<const wave::Image> image, int strokes, bool async,
            Clock::time_point until) override;
  void Stop() override;

  struct Device;  // an open waveOut device and the strokes queued on it

 private:
  std::unique_ptr<Device> playing_;  // the asynchronous sound
};

}  // namespace zdz::win32
