// The chime file's reading rule: what of a file is played, on every desktop.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/fake/fake_desktop.h"
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

}  // namespace
}  // namespace zdz::test
