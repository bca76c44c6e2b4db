// libFuzzer target for the chime file's reading rule: any bytes are read without a fault, and
// an image that comes out reads back as itself.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/wave/wave_image.h"

namespace {

class Bytes : public zdz::wave::ByteSource {
 public:
  Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::size_t Read(void* to, std::size_t n) override {
    n = std::min(n, size_ - at_);
    if (n) std::memcpy(to, data_ + at_, n);
    at_ += n;
    return n;
  }
  bool Skip(std::uint64_t n) override {
    at_ = static_cast<std::size_t>(std::min<std::uint64_t>(size_, at_ + n));
    return true;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Bytes in(data, size);
  const auto image = zdz::wave::Read(in, 1);
  if (!image) return 0;
  if (image->dataSize == 0 || image->dataOffset + image->dataSize > image->bytes.size() ||
      image->length > std::chrono::seconds(1)) {
    std::abort();
  }
  Bytes again(image->bytes.data(), image->bytes.size());
  const auto reread = zdz::wave::Read(again, 1);
  if (!reread || reread->bytes != image->bytes) std::abort();
  return 0;
}
