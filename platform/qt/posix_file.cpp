#include "platform/qt/posix_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace zdz::qt {

namespace {

class PosixFile : public wave::ByteSource {
 public:
  explicit PosixFile(int fd) : fd_(fd) {}
  ~PosixFile() override { ::close(fd_); }
  std::size_t Read(void* to, std::size_t n) override {
    for (;;) {
      const ssize_t got = ::read(fd_, to, n);
      if (got >= 0) return static_cast<std::size_t>(got);
      if (errno != EINTR) return 0;
    }
  }
  bool Skip(std::uint64_t n) override {
    return n <= static_cast<std::uint64_t>(INT64_MAX) &&
           ::lseek(fd_, static_cast<off_t>(n), SEEK_CUR) >= 0;
  }

 private:
  int fd_;
};

}  // namespace

std::unique_ptr<wave::ByteSource> OpenPosixFile(const std::string& name) {
  // O_NONBLOCK: a FIFO with no writer must not hang the open; anything but a regular file is
  // refused right after, on the very file that was opened.
  const int fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return nullptr;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || ::fcntl(fd, F_SETFL, 0) != 0) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<PosixFile>(fd);
}

}  // namespace zdz::qt
