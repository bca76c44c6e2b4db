#pragma once
// A one-shot timer on the Qt event loop.

#include <QTimer>

#include "platform/one_shot.h"

namespace zdz::qt {

class QtOneShot : public OneShotTimer {
 public:
  QtOneShot() {
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (auto fire = std::exchange(fire_, nullptr)) fire();
    });
  }
  void Start(int ms, std::function<void()> fire) override {
    fire_ = std::move(fire);
    timer_.start(ms);
  }
  void Stop() override {
    timer_.stop();
    fire_ = nullptr;
  }

 private:
  QTimer timer_;
  std::function<void()> fire_;
};

}  // namespace zdz::qt
