#pragma once
// Checked WAV images decoded by libsndfile and played through PulseAudio.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/wave/sound_output.h"

namespace zdz::qt {

class PulseOutput : public wave::Output {
 public:
  PulseOutput();
  ~PulseOutput() override;
  PulseOutput(const PulseOutput&) = delete;
  PulseOutput& operator=(const PulseOutput&) = delete;

  // Any call first ends the sound still playing. Asynchronous plays run on one worker thread
  // that this object owns; all strokes go on one stream, decoded as the server asks for them,
  // drained once: no gap. Safe to call from several threads.
  bool Play(std::shared_ptr<const wave::Image> image, int strokes, bool async,
            Clock::time_point until) override;
  void Stop() override { Claim(); }

  // Cuts short whatever plays, sync or async; safe inside a signal handler.
  void Interrupt() { ++generation_; }
  static_assert(std::atomic<std::uint64_t>::is_always_lock_free);

  struct Stream;  // an open image together with its server connection

 private:
  // Ends what plays or waits to play; the new request's generation.
  std::uint64_t Claim();
  // Plays on the calling thread once the worker is idle.
  bool PlayHere(Stream& st, std::uint64_t mine);
  void Worker();
  void StartWorkerLocked();

  // Bumped by every request; a playing sound stops as soon as it sees a newer value.
  std::atomic<std::uint64_t> generation_{0};

  std::mutex mu_;
  std::condition_variable cv_;
  std::unique_ptr<Stream> pending_;
  std::uint64_t pendingGeneration_ = 0;
  bool busy_ = false;
  bool quit_ = false;
  std::thread worker_;
};

}  // namespace zdz::qt
