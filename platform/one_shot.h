#pragma once
// A one-shot timer on the window thread.

#include <functional>

namespace zdz {

class OneShotTimer {
 public:
  virtual ~OneShotTimer() = default;  // a pending expiry is dropped
  // Calls `fire` once, `ms` milliseconds from now; a second Start replaces the first.
  virtual void Start(int ms, std::function<void()> fire) = 0;
  virtual void Stop() = 0;
};

}  // namespace zdz
