#include "platform/wave/wave_image.h"

#include <algorithm>
#include <cstring>

namespace zdz::wave {

namespace {

constexpr std::uint16_t kPcm = 1;
constexpr std::uint16_t kMsAdpcm = 2;
constexpr std::uint16_t kFloat = 3;
constexpr std::uint16_t kAlaw = 6;
constexpr std::uint16_t kMulaw = 7;
constexpr std::uint16_t kImaAdpcm = 0x11;
constexpr std::uint16_t kGsm610 = 0x31;
constexpr std::uint16_t kExtensible = 0xFFFE;
// A format chunk is 16 to 50 bytes in practice; a larger one is not a sound's format.
constexpr std::uint32_t kMaxFormatBytes = 1024;
// Real files hold a handful of chunks; a sea of empty ones (zeros read as chunks) ends here.
constexpr int kMaxChunks = 256;
// Sound data grows by this much as it arrives, so a size that lies allocates nothing.
constexpr std::size_t kPiece = std::size_t{64} * 1024;

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t U32(const std::uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
// Writes into a buffer sized beforehand.
class Writer {
 public:
  explicit Writer(std::vector<std::uint8_t>& out) : out_(out) {}
  std::size_t At() const { return at_; }
  void Bytes(const void* p, std::size_t n) {
    if (n) std::memcpy(out_.data() + at_, p, n);
    at_ += n;
  }
  void U32(std::uint32_t v) {
    const std::uint8_t b[4] = {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16),
                               std::uint8_t(v >> 24)};
    Bytes(b, 4);
  }
  // Returns where the body starts.
  std::size_t Chunk(const char* id, const void* body, std::size_t size) {
    Bytes(id, 4);
    U32(static_cast<std::uint32_t>(size));
    const std::size_t start = at_;
    Bytes(body, size);
    if (size & 1) out_[at_++] = 0;
    return start;
  }

 private:
  std::vector<std::uint8_t>& out_;
  std::size_t at_ = 0;
};

std::size_t ChunkBytes(std::size_t size) { return 8 + size + (size & 1); }

// Reads until `n` bytes or the end: how many arrived.
std::size_t ReadFully(ByteSource& from, std::uint8_t* to, std::size_t n) {
  std::size_t got = 0;
  while (got < n) {
    const std::size_t r = from.Read(to + got, n - got);
    if (r == 0) break;
    got += r;
  }
  return got;
}

// Up to `want` bytes appended to `out`, growing with what arrives; true when all came.
bool ReadInto(ByteSource& from, std::vector<std::uint8_t>& out, std::uint64_t want) {
  while (want > 0) {
    const std::size_t piece = static_cast<std::size_t>(std::min<std::uint64_t>(want, kPiece));
    const std::size_t at = out.size();
    out.resize(at + piece);
    const std::size_t got = ReadFully(from, out.data() + at, piece);
    out.resize(at + got);
    if (got < piece) return false;
    want -= piece;
  }
  return true;
}

struct Format {
  std::vector<std::uint8_t> body;
  std::uint16_t tag = 0;  // an extensible format's sub-format
  std::uint16_t blockAlign = 0;
  std::uint16_t samplesPerBlock = 0;  // ADPCM
  std::uint64_t bytesPerSecond = 0;   // as the sound plays, not as the header claims
};

// Fills in the fields of a format chunk's body; false for what is not a sound format that the
// desktops all play (PCM, float, A-law, mu-law, MS and IMA ADPCM, GSM 6.10).
bool Check(Format& f) {
  std::vector<std::uint8_t>& b = f.body;
  const std::uint16_t channels = U16(&b[2]);
  const std::uint32_t rate = U32(&b[4]);
  const std::uint32_t claimed = U32(&b[8]);
  f.blockAlign = U16(&b[12]);
  const std::uint16_t bits = U16(&b[14]);
  // Every output plays 1 kHz to 384 kHz; beyond, PulseAudio aborts the program (Wine's sound
  // goes through it too), and below, a short file claims a minute of near silence.
  if (rate < kMinRate || rate > kMaxRate) return false;
  if (channels == 0 || claimed == 0 || f.blockAlign == 0) return false;
  std::size_t extra = 0;
  if (b.size() >= 18) {
    // A count of extra bytes past the chunk's end would send a player reading beyond it.
    extra = std::min<std::size_t>(U16(&b[16]), b.size() - 18);
    b[16] = static_cast<std::uint8_t>(extra);
    b[17] = static_cast<std::uint8_t>(extra >> 8);
  }
  f.tag = U16(&b[0]);
  if (f.tag == kExtensible) {
    if (extra < 22) return false;
    f.tag = U16(&b[24]);  // the sub-format GUID starts with the plain tag
  }
  const std::uint64_t frameBytes = std::uint64_t{channels} * (bits / 8);
  f.bytesPerSecond = std::uint64_t{rate} * f.blockAlign;
  switch (f.tag) {
    case kPcm:
      return (bits == 8 || bits == 16 || bits == 24 || bits == 32) && f.blockAlign == frameBytes;
    case kFloat:
      return (bits == 32 || bits == 64) && f.blockAlign == frameBytes;
    case kAlaw:
    case kMulaw:
      return bits == 8 && f.blockAlign == channels;
    case kMsAdpcm:
    case kImaAdpcm:
    case kGsm610:
      if (extra < 2) return false;
      f.samplesPerBlock = U16(&b[18]);
      if (f.samplesPerBlock == 0) return false;
      f.bytesPerSecond = (f.bytesPerSecond + f.samplesPerBlock - 1) / f.samplesPerBlock;
      return true;
    default:
      return false;
  }
}

// The most sound bytes a stroke keeps, in whole blocks.
std::uint64_t CapBytes(const Format& f, int maxSeconds) {
  if (maxSeconds <= 0) return 0;
  const std::uint64_t bytes =
      std::min<std::uint64_t>(kMaxImageBytes, f.bytesPerSecond * std::uint64_t(maxSeconds));
  return bytes - bytes % f.blockAlign;
}

std::shared_ptr<const Image> Build(const Format& f, const std::vector<std::uint8_t>& data,
                                   std::size_t dataSize) {
  // Every format but PCM names its length in frames.
  const bool fact = f.tag != kPcm;
  auto image = std::make_shared<Image>();
  std::vector<std::uint8_t>& out = image->bytes;
  out.resize(12 + ChunkBytes(f.body.size()) + (fact ? ChunkBytes(4) : 0) + ChunkBytes(dataSize));
  Writer w(out);
  w.Bytes("RIFF", 4);
  w.U32(static_cast<std::uint32_t>(out.size() - 8));
  w.Bytes("WAVE", 4);
  image->formatOffset = w.Chunk("fmt ", f.body.data(), f.body.size());
  image->formatSize = f.body.size();
  if (fact) {
    const std::uint64_t blocks = dataSize / f.blockAlign;
    const auto frames =
        static_cast<std::uint32_t>(f.samplesPerBlock ? blocks * f.samplesPerBlock : blocks);
    const std::uint8_t le[4] = {std::uint8_t(frames), std::uint8_t(frames >> 8),
                                std::uint8_t(frames >> 16), std::uint8_t(frames >> 24)};
    w.Chunk("fact", le, 4);
  }
  image->dataOffset = w.Chunk("data", data.data(), dataSize);
  image->dataSize = dataSize;
  image->length = std::chrono::milliseconds(dataSize * 1000 / f.bytesPerSecond);
  return image;
}

}  // namespace

std::shared_ptr<const Image> Read(ByteSource& from, int maxSeconds) {
  std::uint8_t head[12];
  if (ReadFully(from, head, 12) != 12 || std::memcmp(head, "RIFF", 4) != 0 ||
      std::memcmp(head + 8, "WAVE", 4) != 0) {
    return nullptr;
  }
  // The RIFF size is not trusted: the chunks are walked until the format and the sound are in.
  Format format;
  bool haveFormat = false, haveData = false;
  std::vector<std::uint8_t> data;
  for (int chunks = 0; chunks < kMaxChunks; ++chunks) {
    std::uint8_t chunk[8];
    if (ReadFully(from, chunk, 8) != 8) break;  // the end, or a torn chunk header
    const std::uint32_t size = U32(chunk + 4);
    const std::uint32_t pad = size & 1;
    if (std::memcmp(chunk, "fmt ", 4) == 0 && !haveFormat) {
      if (size < 16 || size > kMaxFormatBytes) return nullptr;
      format.body.resize(size);
      if (ReadFully(from, format.body.data(), size) != size || !Check(format)) return nullptr;
      haveFormat = true;
      if (haveData || (pad && !from.Skip(pad))) break;
    } else if (std::memcmp(chunk, "data", 4) == 0 && !haveData) {
      haveData = true;
      // Sound before its format is held (up to the limit) until the format arrives.
      const std::uint64_t limit = haveFormat ? CapBytes(format, maxSeconds) : kMaxImageBytes;
      const std::uint64_t want = std::min<std::uint64_t>(size, limit);
      if (!ReadInto(from, data, want) || haveFormat || !from.Skip(size - want + pad)) break;
    } else if (!from.Skip(std::uint64_t{size} + pad)) {
      break;
    }
  }
  if (!haveFormat || !haveData) return nullptr;
  // A torn last block is left out, and so is what lies beyond the cap.
  const std::uint64_t cap = CapBytes(format, maxSeconds);
  std::size_t dataSize = static_cast<std::size_t>(std::min<std::uint64_t>(data.size(), cap));
  dataSize -= dataSize % format.blockAlign;
  if (dataSize == 0) return nullptr;
  return Build(format, data, dataSize);
}

}  // namespace zdz::wave
