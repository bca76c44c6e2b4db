#pragma once
// The one rule for what of a chime file is played, on every desktop: the file is read front to
// back, every chunk is checked against the bytes that actually arrived, only the sound data
// present is kept (in whole blocks), and each stroke is cut at a number of seconds. What comes
// out is a clean RIFF/WAVE image in memory ("fmt ", "fact" where the format needs one, "data")
// that a back end plays as it is.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zdz::wave {

// Bytes read in order from the start: a file, or memory in tests.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Up to `n` bytes; fewer only at the end or on a failure.
  virtual std::size_t Read(void* to, std::size_t n) = 0;
  // Passes over `n` bytes; false when that fails.
  virtual bool Skip(std::uint64_t n) = 0;
};

// Opens a named file for reading, or returns null. It runs on a reader thread that may outlive
// whoever asked, so it must hold nothing that could go away.
using Opener = std::function<std::unique_ptr<ByteSource>(const std::string& name)>;

// A playable sound, checked and cut.
struct Image {
  std::vector<std::uint8_t> bytes;  // the whole RIFF/WAVE file
  std::size_t formatOffset = 0;     // the "fmt " chunk's body
  std::size_t formatSize = 0;
  std::size_t dataOffset = 0;  // the "data" chunk's body: whole blocks only
  std::size_t dataSize = 0;
  std::chrono::milliseconds length{0};  // one stroke
};

// The sample rates every desktop's output takes.
inline constexpr std::uint32_t kMinRate = 1'000;
inline constexpr std::uint32_t kMaxRate = 384'000;

// Never more than this much sound in memory, whatever the format claims.
inline constexpr std::size_t kMaxImageBytes = 96u * 1024 * 1024;

// The playable part of the file `from` gives, at most `maxSeconds` long; null when there is
// none (not a RIFF/WAVE file, a format no desktop plays, a missing or empty "data" chunk).
std::shared_ptr<const Image> Read(ByteSource& from, int maxSeconds);

}  // namespace zdz::wave
