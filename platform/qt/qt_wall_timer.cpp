#include "platform/qt/qt_wall_timer.h"

#include <time.h>

#include "platform/tick_delay.h"

namespace zdz::qt {

WallTimer::WallTimer(int intervalMs, std::function<void()> expired, QObject* parent)
    : QObject(parent), interval_(intervalMs), expired_(std::move(expired)), timer_(this) {
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
  timer_.start(
      DelayToNextTick(now.tv_sec * std::int64_t{1'000'000} + now.tv_nsec / 1000, interval_));
}

}  // namespace zdz::qt
