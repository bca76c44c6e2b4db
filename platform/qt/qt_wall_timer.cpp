#include "platform/qt/qt_wall_timer.h"

#include <time.h>

namespace zdz::qt {

WallTimer::WallTimer(int intervalMs, std::function<void()> expired, QObject* parent)
    : QObject(parent),
      interval_(intervalMs > 0 ? intervalMs : 1),
      expired_(std::move(expired)),
      timer_(this) {
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);  // coarse timers drift by up to 5 %
  connect(&timer_, &QTimer::timeout, this, [this] {
    Arm();  // first: the handler may block (the chime) or stop the timer
    expired_();
  });
  Arm();
}

void WallTimer::Stop() { timer_.stop(); }

void WallTimer::Arm() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  // Zone offsets are whole minutes, so the tenths of UTC are those of the local time.
  const long long period = interval_ * 1000LL;
  const long long us = now.tv_sec % 86400 * 1'000'000LL + now.tv_nsec / 1000;
  // Rounded up: an expiry a little early is aimed again at the boundary it just missed.
  const long long wait = (period - us % period + 999) / 1000;
  timer_.start(static_cast<int>(wait));
}

}  // namespace zdz::qt
