#include "platform/wave/chime_reader.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <system_error>

namespace zdz::wave {

namespace {

using Clock = std::chrono::steady_clock;

// The longest single wait: each wake-up re-checks the condition and the deadline, so a wake-up
// the thread library loses (winpthreads' timed waits can) costs a slice, not the whole wait.
constexpr std::chrono::milliseconds kSlice{100};

template <class Ready>
bool WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv,
               Clock::time_point until, Ready ready) {
  while (!ready()) {
    const auto now = Clock::now();
    if (now >= until) return false;
    cv.wait_for(lock, std::min<Clock::duration>(until - now, kSlice));
  }
  return true;
}

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

struct ChimeReader::State {
  struct Job {
    std::uint64_t id;
    Opener open;
    std::string name;
    int maxSeconds;
  };
  std::mutex mu;
  std::condition_variable wake;  // the reader's: a job, or the end
  std::condition_variable done;  // the asker's: an answer, or the reader idle again
  std::optional<Job> job;        // posted, not yet taken
  bool busy = false;             // from posting a job until its answer
  bool quit = false;
  std::uint64_t lastId = 0;
  std::uint64_t awaited = 0;  // the job whose answer someone still waits for
  std::uint64_t answered = 0;
  std::shared_ptr<const Image> answer;
  std::atomic<bool> abandoned{false};
};

ChimeReader::ChimeReader() : state_(std::make_shared<State>()) {}

ChimeReader::~ChimeReader() {
  bool stuck;
  {
    std::lock_guard lock(state_->mu);
    state_->quit = true;
    state_->abandoned = true;
    stuck = state_->busy;
    state_->wake.notify_all();
  }
  if (!reader_.joinable()) return;
  // The reader holds the state it needs; one stuck in a read is never waited for.
  if (stuck) {
    reader_.detach();
  } else {
    reader_.join();
  }
}

void ChimeReader::Serve(std::shared_ptr<State> s) {
  std::unique_lock lock(s->mu);
  for (;;) {
    WaitUntil(lock, s->wake, Clock::time_point::max(), [&] { return s->quit || s->job; });
    if (s->quit) return;
    State::Job job = std::move(*s->job);
    s->job.reset();
    lock.unlock();
    std::shared_ptr<const Image> image;
    if (auto file = job.open(job.name)) {
      Abandonable guarded(*file, s->abandoned);
      image = wave::Read(guarded, job.maxSeconds);
    }
    job.open = nullptr;  // whatever the opener holds goes while no lock is held
    lock.lock();
    s->busy = false;
    s->answered = job.id;
    if (s->awaited == job.id) s->answer = std::move(image);
    s->done.notify_all();
    lock.unlock();
    image.reset();  // a late answer is dropped here
    lock.lock();
  }
}

std::shared_ptr<const Image> ChimeReader::Read(const Opener& open, const std::string& name,
                                               int maxSeconds, std::chrono::milliseconds deadline) {
  const auto until = Clock::now() + deadline;
  State& s = *state_;
  std::unique_lock lock(s.mu);
  if (s.busy) return nullptr;
  if (!reader_.joinable()) {
    try {
      reader_ = std::thread(Serve, state_);
    } catch (const std::system_error&) {
      return nullptr;
    }
  }
  const std::uint64_t id = ++s.lastId;
  s.job = State::Job{id, open, name, maxSeconds};
  s.busy = true;
  s.abandoned = false;
  s.awaited = id;
  s.wake.notify_all();
  const bool answered = WaitUntil(lock, s.done, until, [&] { return s.answered == id; });
  s.awaited = 0;
  if (!answered) {
    s.abandoned = true;
    return nullptr;
  }
  return std::move(s.answer);
}

}  // namespace zdz::wave
