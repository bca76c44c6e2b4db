// wave::ReadWithin: the chime file is read away from the window's thread, with a deadline.
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/wave/wave_image.h"

namespace zdz::wave {

namespace {

struct Shared {
  std::mutex mu;
  std::condition_variable cv;
  bool done = false;
  std::shared_ptr<const Image> image;
  std::atomic<bool> abandoned{false};
};

// A reader left behind stops at its next read.
class Abandonable : public ByteSource {
 public:
  Abandonable(ByteSource& in, const std::atomic<bool>& abandoned)
      : in_(in), abandoned_(abandoned) {}
  std::size_t Read(void* to, std::size_t n) override { return abandoned_ ? 0 : in_.Read(to, n); }
  bool Skip(std::uint64_t n) override { return !abandoned_ && in_.Skip(n); }

 private:
  ByteSource& in_;
  const std::atomic<bool>& abandoned_;
};

}  // namespace

std::shared_ptr<const Image> ReadWithin(const Opener& open, const std::string& name, int maxSeconds,
                                        std::chrono::milliseconds deadline) {
  auto shared = std::make_shared<Shared>();
  try {
    // One thread started and ended while no reader of ours runs: winpthreads (the Windows
    // build's threads) sets up its static locks on first use, and two threads that first use
    // them at once can crash there.
    static const bool warmed = [] {
      std::thread([] {}).join();
      return true;
    }();
    (void)warmed;
    std::thread([shared, open, name, maxSeconds] {
      std::shared_ptr<const Image> image;
      if (auto file = open(name)) {
        Abandonable guarded(*file, shared->abandoned);
        image = Read(guarded, maxSeconds);
      }
      std::lock_guard lock(shared->mu);
      shared->image = std::move(image);
      shared->done = true;
      shared->cv.notify_all();
    }).detach();
  } catch (const std::system_error&) {
    return nullptr;
  }
  std::unique_lock lock(shared->mu);
  if (!shared->cv.wait_for(lock, deadline, [&] { return shared->done; })) {
    shared->abandoned = true;
    return nullptr;
  }
  return shared->image;
}

}  // namespace zdz::wave
