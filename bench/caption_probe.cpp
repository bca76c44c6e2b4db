// Preloaded into a Qt program (LD_PRELOAD), it writes the real time of every change of a
// QLabel's text to the file named by ZDZ_PROBE_LOG, one "SECONDS.NANOSECONDS TEXT" line each,
// and otherwise leaves the label alone. The program itself is not rebuilt for it.

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <QByteArray>
#include <QLabel>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

int LogFd() {
  static const int fd = [] {
    const char* path = std::getenv("ZDZ_PROBE_LOG");
    return path ? open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644) : -1;
  }();
  return fd;
}

}  // namespace

// Calls from the program into Qt's QLabel::setText land here first; Qt's own follows.
void QLabel::setText(const QString& text) {
  using Real = void (*)(QLabel*, const QString&);
  static const Real real =
      reinterpret_cast<Real>(dlsym(RTLD_NEXT, "_ZN6QLabel7setTextERK7QString"));
  const bool changed = text != this->text();
  real(this, text);
  if (!changed || LogFd() < 0) return;
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  const QByteArray utf8 = text.toUtf8();
  char line[256];
  const int n = std::snprintf(line, sizeof line, "%lld.%09ld %.200s\n",
                              static_cast<long long>(now.tv_sec), now.tv_nsec, utf8.constData());
  if (n > 0) (void)!write(LogFd(), line, static_cast<size_t>(n));
}
