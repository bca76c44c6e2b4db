// The chime file's reading rule: what of a file is played, on every desktop.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <future>
#include <mutex>
#include <set>
#include <thread>

#include "platform/fake/fake_desktop.h"
#include "platform/wave/chime_reader.h"
#include "platform/wave/wave_image.h"

namespace zdz::test {
namespace {

using namespace std::chrono_literals;

std::string Le(std::uint32_t v, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s.push_back(static_cast<char>(v >> (8 * i)));
  return s;
}
std::string Chunk(const std::string& id, const std::string& body, std::uint32_t claimed = ~0u) {
  const std::uint32_t size = claimed == ~0u ? static_cast<std::uint32_t>(body.size()) : claimed;
  return id + Le(size, 4) + body + (body.size() % 2 ? std::string(1, '\0') : "");
}
std::string Fmt(int tag, int channels, int rate, int bits, int align = 0, std::string extra = "") {
  if (!align) align = channels * bits / 8;
  std::string body =
      Le(tag, 2) + Le(channels, 2) + Le(rate, 4) + Le(rate * align, 4) + Le(align, 2) + Le(bits, 2);
  if (!extra.empty()) body += Le(static_cast<std::uint32_t>(extra.size()), 2) + extra;
  return Chunk("fmt ", body);
}
std::string Riff(const std::string& chunks) {
  return "RIFF" + Le(4 + chunks.size(), 4) + "WAVE" + chunks;
}
std::string Samples(std::size_t n) {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>(i * 7 + 1);
  return s;
}
const std::string kPcm16 = Fmt(1, 1, 8000, 16);

std::shared_ptr<const wave::Image> ReadBytes(const std::string& bytes, int maxSeconds = 60) {
  fake::MemorySource source(bytes);
  return wave::Read(source, maxSeconds);
}
std::string DataOf(const wave::Image& image) {
  return std::string(reinterpret_cast<const char*>(image.bytes.data()) + image.dataOffset,
                     image.dataSize);
}

// Endless zeros after a header, counting what is read: a sparse gigabyte, or a header that
// claims far more than the cap.
class EndlessSource : public wave::ByteSource {
 public:
  explicit EndlessSource(std::string head) : head_(std::move(head)) {}
  std::size_t Read(void* to, std::size_t n) override {
    auto* out = static_cast<char*>(to);
    std::memset(out, 0, n);
    for (std::size_t i = 0; i < n && at + i < head_.size(); ++i) out[i] = head_[at + i];
    at += n;
    read += n;
    return n;
  }
  bool Skip(std::uint64_t n) override {
    at += n;
    return true;
  }
  std::uint64_t at = 0, read = 0;

 private:
  std::string head_;
};

TEST(WaveImage, EveryChunkIsCheckedAgainstTheBytesThatArrived) {
  const std::string sound = Samples(1000);
  // A data chunk cut short plays what is there, in whole frames.
  auto image = ReadBytes(Riff(kPcm16 + Chunk("data", sound)).substr(0, 44 + 501));
  ASSERT_TRUE(image);
  EXPECT_EQ(DataOf(*image), sound.substr(0, 500));
  EXPECT_EQ(image->length, 31ms);
  // A size claiming 2 GB is the same: only what arrived.
  image = ReadBytes(Riff(kPcm16 + Chunk("data", sound, 0x7FFFFFF0)));
  ASSERT_TRUE(image);
  EXPECT_EQ(DataOf(*image), sound);
  // LIST before the format, an odd-sized chunk and its pad byte, the sound before its format,
  // chunks after the sound: all found in any order.
  for (const std::string& chunks :
       {Chunk("LIST", std::string("INFOISFT\x03\0\0\0abc", 15)) + kPcm16 + Chunk("data", sound),
        Chunk("junk", "odd") + Chunk("data", sound) + Chunk("LIST", "xyz") + kPcm16,
        kPcm16 + Chunk("fact", Le(500, 4)) + Chunk("data", sound) + Chunk("id3 ", "1234567")}) {
    image = ReadBytes(Riff(chunks));
    ASSERT_TRUE(image) << chunks.size();
    EXPECT_EQ(DataOf(*image), sound);
    EXPECT_EQ(image->length, 62ms);
  }
  // A chunk before the format that claims more than the file holds hides the format.
  EXPECT_FALSE(ReadBytes(Riff(Chunk("LIST", "ab", 5000) + kPcm16 + Chunk("data", sound))));
  // A format chunk that is torn or claims too much.
  EXPECT_FALSE(ReadBytes(Riff(Chunk("data", sound) + "fmt " + Le(18, 4) + kPcm16.substr(8))));
  EXPECT_FALSE(ReadBytes(Riff(Chunk("fmt ", kPcm16.substr(8), 4000) + Chunk("data", sound))));
}

TEST(WaveImage, WhatIsNotAPlayableWaveIsSilent) {
  const std::string data = Chunk("data", Samples(64));
  for (const std::string& bytes : {
           std::string(),                                          // 0 bytes
           std::string("RIFF\x10\0\0\0WAVE", 12),                  // no chunks
           std::string("ID3\x04 an mp3 file, not a WAV"),          // not RIFF
           "RIFF" + Le(100, 4) + "AVI " + kPcm16 + data,           // RIFF, not WAVE
           Riff(kPcm16),                                           // no sound
           Riff(data),                                             // no format
           Riff(kPcm16 + Chunk("data", "x")),                      // less than one frame
           Riff(Fmt(1, 0, 8000, 16, 2) + data),                    // no channels
           Riff(Fmt(1, 1, 0, 16) + data),                          // no rate
           Riff(Fmt(1, 1, 999, 16) + data),                        // below what outputs take
           Riff(Fmt(1, 1, 384'001, 16) + data),                    // above
           Riff(Fmt(1, 1, 1'000'000, 16) + data),                  // far above
           Riff(Fmt(1, 2, 8000, 16, 2) + data),                    // frames that do not fit
           Riff(Fmt(1, 1, 8000, 12) + data),                       // no such PCM
           Riff(Fmt(3, 1, 8000, 16) + data),                       // no such float
           Riff(Fmt(0x55, 1, 8000, 0, 1, "abcdefghijkl") + data),  // MP3
           Riff(Fmt(2, 1, 8000, 4, 256) + data),  // ADPCM without samples per block
       }) {
    EXPECT_FALSE(ReadBytes(bytes)) << testing::PrintToString(bytes);
  }
}

TEST(WaveImage, TheImageIsACleanFileEveryBackEndReads) {
  // IMA ADPCM: 2 blocks of 256 bytes (505 frames each) and a torn third; a "fact" chunk names
  // the frames kept. The count of extra format bytes is cut to what the chunk holds.
  std::string ima = Fmt(0x11, 1, 8000, 4, 256, Le(505, 2));
  ima[8 + 16] = 40;
  auto image = ReadBytes(Riff(ima + Chunk("data", Samples(600))));
  ASSERT_TRUE(image);
  const auto& b = image->bytes;
  EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
  EXPECT_EQ(b[4] | b[5] << 8 | b[6] << 16, static_cast<int>(b.size() - 8));
  EXPECT_EQ(image->formatSize, 20u);
  EXPECT_EQ(b[image->formatOffset + 16], 2);  // cbSize
  const std::string fact = Chunk("fact", Le(2 * 505, 4));
  EXPECT_NE(std::string(b.begin(), b.end()).find(fact), std::string::npos);
  EXPECT_EQ(image->dataSize, 512u);
  EXPECT_EQ(image->length, 2 * 505 * 1000ms / 8000);
  // Read again, the image gives itself back.
  auto again = ReadBytes(std::string(b.begin(), b.end()));
  ASSERT_TRUE(again);
  EXPECT_EQ(again->bytes, b);
  // 8-bit odd-length sound keeps its pad byte; float, A-law and the rates at the bounds are kept.
  for (const std::string& fmt : {Fmt(1, 1, 8000, 8), Fmt(3, 2, 8000, 32), Fmt(6, 1, 8000, 8),
                                 Fmt(1, 1, 1000, 8), Fmt(1, 1, 384'000, 8)}) {
    image = ReadBytes(Riff(fmt + Chunk("data", Samples(63))));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->bytes.size() % 2, 0u);
    EXPECT_EQ(image->dataSize, fmt.size() == 24 && fmt[8] == 3 ? 56u : 63u);
  }
}

TEST(WaveImage, AStrokeIsCutAtTheCapReadingNoMoreThanIt) {
  // 90 s of 8-bit mono at 8 kHz: 60 s are kept.
  auto image = ReadBytes(Riff(Fmt(1, 1, 8000, 8) + Chunk("data", Samples(90 * 8000))));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->dataSize, 60u * 8000);
  EXPECT_EQ(image->length, 60s);
  EXPECT_EQ(DataOf(*image), Samples(60 * 8000));
  // A gigabyte (sparse or a lying header) is read only up to the cap.
  const std::string head = Riff(Fmt(1, 2, 44100, 16) + "data" + Le(0x40000000, 4)).substr(0, 44);
  EndlessSource endless(head);
  image = wave::Read(endless, 3);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->dataSize, 3u * 44100 * 4);
  EXPECT_LE(endless.read, 44u + image->dataSize + 64 * 1024);
  // Sound ahead of its format is held to the memory limit, then cut.
  EndlessSource early(Riff("data" + Le(0xFFFFFFF0, 4)).substr(0, 20));
  EXPECT_FALSE(wave::Read(early, 60));
  EXPECT_LE(early.read, wave::kMaxImageBytes + 20 + 64 * 1024);
}

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
      const std::string bytes = Riff(kPcm16 + Chunk("data", Samples(name.size() * 16)));
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
  // Until `n` opens are recorded, or a hang.
  bool Opened(std::size_t n) {
    for (auto end = std::chrono::steady_clock::now() + 10min;
         std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(1ms)) {
      std::lock_guard lock(mu);
      if (opened.size() >= n) return true;
    }
    return false;
  }
};

// Long enough that only a hang reaches it: a reader that waited on a stuck read would hang here.
constexpr auto kNever = 10min;

TEST(ChimeReader, AStuckReadCostsOneThreadAndOneWaitAndItsLateAnswerIsDropped) {
  Share share;
  wave::ChimeReader reader;
  EXPECT_FALSE(reader.Read(share.Opener({"stuck"}), "stuck", 60, 20ms));
  // Every later chime or Test is silent at once; nothing more is opened or waited for.
  for (int i = 0; i < 50; ++i) EXPECT_FALSE(reader.Read(share.Opener({}), "fine", 60, kNever));
  share.release.set_value();
  ASSERT_TRUE(reader.Idle(kNever));
  {
    std::lock_guard lock(share.mu);
    ASSERT_EQ(share.opened.size(), 1u);
    EXPECT_EQ(share.opened[0].first, "stuck");
  }
  // The stuck read's answer came too late for anyone; the next read gets its own file, read on
  // the same reader thread.
  auto image = reader.Read(share.Opener({}), "fine", 60, kNever);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->dataSize, 4u * 16);
  std::lock_guard lock(share.mu);
  ASSERT_EQ(share.opened.size(), 2u);
  EXPECT_EQ(share.opened[1].second, share.opened[0].second);
  EXPECT_NE(share.opened[1].second, std::this_thread::get_id());
}

TEST(ChimeReader, ReadsInTurnEachGetTheirOwnFileAndAStuckReaderDoesNotHoldUpItsOwner) {
  Share share;
  {
    wave::ChimeReader reader;
    for (const std::string name : {"a", "bb", "missing", "cccc"}) {
      auto image =
          reader.Read(name == "missing" ? wave::Opener([](const std::string&) { return nullptr; })
                                        : share.Opener({}),
                      name, 60, kNever);
      EXPECT_EQ(image ? image->dataSize : 0u, name == "missing" ? 0u : name.size() * 16) << name;
    }
    EXPECT_FALSE(reader.Read(share.Opener({"stuck"}), "stuck", 60, 20ms));
  }  // the reader, stuck, is left behind
  // The share outlives the reader's last touch of it.
  ASSERT_TRUE(share.Opened(4));
  share.release.set_value();
}

}  // namespace
}  // namespace zdz::test
