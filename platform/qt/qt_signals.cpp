#include "platform/qt/qt_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>

namespace zdz::qt {

namespace {

int gWakeFd = -1;
void (*gInterrupt)() = nullptr;

void OnSignal(int) {
  const int saved = errno;
  if (gInterrupt) gInterrupt();
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = ::write(gWakeFd, &byte, 1);
  errno = saved;
}

}  // namespace

void QuitOnSignals(void (*interrupt)(), std::function<void()> quit) {
  int fds[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, fds) != 0) return;
  gWakeFd = fds[1];
  gInterrupt = interrupt;
  // Lives as long as the program.
  auto* notifier = new QSocketNotifier(fds[0], QSocketNotifier::Read);
  QObject::connect(notifier, &QSocketNotifier::activated, [fd = fds[0], quit = std::move(quit)] {
    char buf[16];
    while (::read(fd, buf, sizeof buf) > 0) {
    }
    quit();
  });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(sig, &action, nullptr);
}

}  // namespace zdz::qt
