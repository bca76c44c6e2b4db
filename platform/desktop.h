#pragma once
// Everything the program asks of the desktop it runs on.

#include <memory>

#include "platform/form.h"
#include "platform/local_time.h"
#include "platform/notify_area.h"
#include "platform/one_shot.h"
#include "platform/registry.h"
#include "platform/settings_store.h"
#include "platform/sound.h"
#include "platform/system.h"

namespace zdz {

class Desktop {
 public:
  virtual ~Desktop() = default;
  // Builds the native window for a form, attaching peers to its controls and menu items.
  // The window starts hidden; a timer control starts running at once. A timer's expiries are
  // aimed at whole multiples of its interval on the local wall clock (a 100 ms timer fires on
  // the tenths, so the second flips on the second), and overdue expiries collapse into one.
  virtual std::unique_ptr<WindowPeer> CreateWindow(Form& form) = 0;
  virtual std::unique_ptr<OneShotTimer> CreateOneShot() = 0;
  virtual SettingsStore& Store() = 0;
  virtual NotifyArea& Tray() = 0;
  virtual Sound& Audio() = 0;
  virtual Registry& Reg() = 0;
  virtual TimeSource& Time() = 0;
  virtual System& Sys() = 0;
};

}  // namespace zdz
