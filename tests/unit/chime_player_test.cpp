// The chime player and its reader: a file whose reads never return costs one thread and one
// wait; the whole chime is bounded; no chime is lost.
#include <gtest/gtest.h>

#include <cstring>
#include <future>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "platform/fake/fake_desktop.h"
#include "platform/wave/chime_player.h"
#include "platform/wave/chime_reader.h"

namespace zdz::test {
namespace {

using namespace std::chrono_literals;

// A file on a server that stops answering: the read that reaches its last byte waits until the
// test lets it go, then delivers the whole file.
class GatedSource : public wave::ByteSource {
 public:
  GatedSource(std::string bytes, std::shared_future<void> gate)
      : bytes_(std::move(bytes)), gate_(std::move(gate)) {}
  std::size_t Read(void* to, std::size_t n) override {
    n = std::min(n, bytes_.size() - at_);
    if (at_ + n == bytes_.size()) gate_.wait();
    std::memcpy(to, bytes_.data() + at_, n);
    at_ += n;
    return n;
  }
  bool Skip(std::uint64_t) override { return false; }

 private:
  std::string bytes_;
  std::size_t at_ = 0;
  std::shared_future<void> gate_;
};

// Files by name, some held at their last byte until `release`; records the thread of each open.
struct Share {
  std::promise<void> release;
  std::shared_future<void> gate = release.get_future().share();
  std::mutex mu;
  std::vector<std::pair<std::string, std::thread::id>> opened;
  wave::Opener Opener(std::set<std::string> held) {
    return [this, held](const std::string& name) -> std::unique_ptr<wave::ByteSource> {
      const std::string bytes = fake::TestWave(static_cast<int>(name.size()));
      std::unique_ptr<wave::ByteSource> file;
      if (held.count(name)) {
        file = std::make_unique<GatedSource>(bytes, gate);
      } else {
        file = std::make_unique<fake::MemorySource>(bytes);
      }
      // Last: once its open is recorded, a reader left behind no longer touches the share.
      std::lock_guard lock(mu);
      opened.emplace_back(name, std::this_thread::get_id());
      return file;
    };
  }
};

// Long enough that only a hang reaches it: a reader that waited on a stuck read would hang here.
constexpr auto kNever = 10min;

TEST(ChimeReader, AStuckReadCostsOneThreadAndOneWaitAndItsLateAnswerIsDropped) {
  Share share;
  wave::ChimeReader reader;
  EXPECT_FALSE(reader.Read(share.Opener({"stuck"}), "stuck", 60, 20ms));
  // Ten Test presses and three hours' chimes are silent at once: none opens a file or waits (a
  // wait here would be a hang).
  for (int i = 0; i < 13; ++i) EXPECT_FALSE(reader.Read(share.Opener({}), "fine", 60, kNever));
  share.release.set_value();
  // Once the stuck read returns, the next read gets its own file, not the late answer, on the
  // same reader thread.
  std::shared_ptr<const wave::Image> image;
  const auto end = std::chrono::steady_clock::now() + kNever;
  while (!(image = reader.Read(share.Opener({}), "fine", 60, kNever)) &&
         std::chrono::steady_clock::now() < end)
    std::this_thread::sleep_for(1ms);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->dataSize, 4u * 16);
  std::lock_guard lock(share.mu);
  ASSERT_EQ(share.opened.size(), 2u);
  EXPECT_EQ(share.opened[0].first, "stuck");
  EXPECT_EQ(share.opened[1].second, share.opened[0].second);
  EXPECT_NE(share.opened[1].second, std::this_thread::get_id());
}

// What the desktop's output was asked to play.
struct Recorder : wave::Output {
  bool Play(std::shared_ptr<const wave::Image> image, int n, bool,
            Clock::time_point until) override {
    strokes.push_back(n);
    lengths.push_back(image->length);
    last = until;
    return true;
  }
  void Stop() override {}
  std::vector<int> strokes;
  std::vector<std::chrono::milliseconds> lengths;
  Clock::time_point last;
};

// Under Wine on a busy machine chimes read from memory went missing: none may.
TEST(ChimePlayer, AWholeChimeEndsWithinThreeMinutesMidnightsIsWholeAndNoneIsLost) {
  std::map<std::string, std::string> files;
  for (int seconds : {7, 8, 60, 100})
    files[std::to_string(seconds)] = fake::TestWave(seconds * 1000);
  Recorder out;
  wave::ChimePlayer player(
      [&files](const std::string& name) {
        return std::make_unique<fake::MemorySource>(files.at(name));
      },
      [&] { return &out; }, 60, kNever);
  const auto before = Recorder::Clock::now();
  for (const auto& [name, bytes] : files) EXPECT_TRUE(player.PlayStrokes(name, 24)) << name;
  // Ordered by name: 100 s (cut to a 60 s stroke), 60 s, 7 s, 8 s.
  EXPECT_EQ(out.strokes, (std::vector<int>{3, 3, 24, 22}));
  EXPECT_EQ(out.lengths.front(), 60s);
  EXPECT_GE(out.last, before + wave::kMaxChime);
  EXPECT_LE(out.last, Recorder::Clock::now() + wave::kMaxChime);
  int heard = 0;
  for (int i = 0; i < 300; ++i) heard += player.PlayStrokes("7", i % 24 + 1);
  EXPECT_EQ(heard, 300);
  EXPECT_EQ(out.strokes.size(), 304u);
}

}  // namespace
}  // namespace zdz::test
