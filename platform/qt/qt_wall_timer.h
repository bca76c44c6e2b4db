#pragma once
// A repeating timer whose expiries fall on whole multiples of its interval on the wall clock
// (a 100 ms timer at .000, .100, .200 ... of each second), re-aimed at every expiry, so the
// clock's caption changes right on the second and a change of the system time is followed at
// the next expiry. Expiries missed while the program was blocked collapse into one.

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
