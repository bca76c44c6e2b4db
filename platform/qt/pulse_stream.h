#pragma once
// One PulseAudio playback stream, driven by its own mainloop on the calling thread so that every
// wait has a deadline: a stopped (SIGSTOP) or hung sound server can delay a sound, never the
// program. A server that is gone fails at once.

#include <pulse/channelmap.h>
#include <pulse/context.h>
#include <pulse/mainloop.h>
#include <pulse/sample.h>
#include <pulse/stream.h>

#include <chrono>
#include <cstddef>
#include <functional>

namespace zdz::qt {

class PulseStream {
 public:
  using Clock = std::chrono::steady_clock;
  // Polled between waits; true ends the current write or drain early.
  using StopRequested = std::function<bool()>;

  PulseStream() = default;
  ~PulseStream();
  PulseStream(const PulseStream&) = delete;
  PulseStream& operator=(const PulseStream&) = delete;

  // Connects to the default server and opens a stream; the server keeps about `bufferMs` ahead.
  bool Open(const pa_sample_spec& spec, const pa_channel_map& map, int bufferMs,
            Clock::time_point deadline);
  // Queues all of `bytes`, waiting for room as the server plays.
  bool Write(const void* data, std::size_t bytes, Clock::time_point deadline,
             const StopRequested& stop);
  // Waits until everything queued has been played.
  bool Drain(Clock::time_point deadline, const StopRequested& stop);

 private:
  // Runs the mainloop until `done()` or the deadline; false on deadline, stop or failure.
  bool RunUntil(const std::function<bool()>& done, Clock::time_point deadline,
                const StopRequested& stop);
  bool Failed() const;

  pa_mainloop* loop_ = nullptr;
  pa_context* context_ = nullptr;
  pa_stream* stream_ = nullptr;
};

}  // namespace zdz::qt
