#pragma once
// The Linux desktop: Qt Widgets windows, QSystemTrayIcon, a settings file, PulseAudio.

#include <string>

#include "platform/desktop.h"
#include "platform/qt/ini_settings_store.h"
#include "platform/qt/qt_system.h"
#include "platform/qt/qt_tray.h"
#include "platform/qt/sound_loader.h"
#include "platform/wave/chime_player.h"

namespace zdz::qt {

class QtDesktop : public Desktop {
 public:
  // `configBase`: the folder that holds the program's settings folder (~/.config).
  explicit QtDesktop(const std::string& configBase);

  std::unique_ptr<WindowPeer> CreateWindow(Form& form) override;
  std::unique_ptr<OneShotTimer> CreateOneShot() override;
  SettingsStore& Store() override { return store_; }
  NotifyArea& Tray() override { return tray_; }
  Sound& Audio() override { return sound_; }
  SoundLoader& SoundModule() { return output_; }
  Registry& Reg() override { return registry_; }
  TimeSource& Time() override { return time_; }
  System& Sys() override { return system_; }

  // $XDG_CONFIG_HOME, or ~/.config.
  static std::string DefaultConfigBase();

 private:
  IniSettingsStore store_;
  QtTray tray_;
  SoundLoader output_;
  wave::ChimePlayer sound_;
  NoRegistry registry_;
  QtTime time_;
  QtSystem system_;
};

}  // namespace zdz::qt
