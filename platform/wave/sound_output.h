#pragma once
// What a desktop's sound system does for the chime player: play a checked image, and stop.

#include <chrono>
#include <memory>

#include "platform/wave/wave_image.h"

namespace zdz::wave {

class Output {
 public:
  using Clock = std::chrono::steady_clock;
  virtual ~Output() = default;
  // Plays `image` `strokes` times back to back: synchronously, or (async) in the background.
  // Each stroke ends by its length and a margin counted from the end of the one before, and
  // the whole by `until`, whatever the sound system does. Ends any sound still playing first.
  virtual bool Play(std::shared_ptr<const Image> image, int strokes, bool async,
                    Clock::time_point until) = 0;
  virtual void Stop() = 0;
};

}  // namespace zdz::wave
