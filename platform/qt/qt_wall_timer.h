#pragma once
// A repeating timer aimed at the wall clock's whole multiples of its interval (tick_delay.h).
// Expiries missed while the program was blocked collapse into one.

#include <QObject>
#include <QTimer>

#include <functional>

namespace zdz::qt {

class WallTimer : public QObject {
 public:
  WallTimer(int intervalMs, std::function<void()> expired, QObject* parent);
  void Stop();

 private:
  void Arm();

  int interval_;
  std::function<void()> expired_;
  QTimer timer_;
};

}  // namespace zdz::qt
