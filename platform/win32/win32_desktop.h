#pragma once
// The Windows desktop: native windows, Shell_NotifyIconW, the registry, the system's sounds.

#include "platform/win32/win32_api.h"

#include "platform/desktop.h"
#include "platform/wave/chime_player.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_sound.h"
#include "platform/win32/win32_store.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_tray.h"

namespace zdz::win32 {

class Win32Desktop : public Desktop {
 public:
  Win32Desktop();
  ~Win32Desktop() override;

  std::unique_ptr<WindowPeer> CreateWindow(Form& form) override;
  std::unique_ptr<OneShotTimer> CreateOneShot() override;
  RegistryStore& Store() override { return store_; }
  NotifyArea& Tray() override { return tray_; }
  Sound& Audio() override { return sound_; }
  Registry& Reg() override { return registry_; }
  TimeSource& Time() override { return time_; }
  System& Sys() override { return system_; }

  // The message loop, until the program ends.
  int Run();

 private:
  RegistryStore store_;
  win32::Tray tray_;
  SystemOutput output_;
  wave::ChimePlayer sound_{OpenChimeFile, [this] { return &output_; }};
  SystemRegistry registry_;
  SystemTime time_;
  SystemServices system_;
  HWND owner_ = nullptr;  // owns the dialogs, so they get no taskbar button
};

}  // namespace zdz::win32
