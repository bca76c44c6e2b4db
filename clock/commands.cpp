// ClockWindow's menu commands: tray, exit, options, delete settings, version.
#include "about/about_dialog.h"
#include "clock/clock_window.h"
#include "core/application.h"
#include "core/settings_format.h"
#include "resources/captions.h"

namespace zdz {

void ClockWindow::ToggleTray() { app_.SwitchTrayMode(app_.State().InTray != 0); }

void ClockWindow::OpenOptions() { app_.OpenOptions(); }

void ClockWindow::DeleteSettings() {
  try {
    app_.Desk().Store().Delete(text::kStoreApp);
  } catch (const StoreError&) {
    // The options in memory are reset all the same; the next OK writes them again.
  }
  SetDefaults(app_.State(), app_.DefaultWavePath());
  ApplyLayout(false);
  EnableDelete(false);
}

void ClockWindow::OpenVersion() { app_.About().Window().Show(); }

void ClockWindow::Exit() {
  Unload();
  app_.ReleaseClock();
  app_.End();
}

}  // namespace zdz
