// ClockWindow's menu commands: tray, exit, options, delete settings, version.
#include "about/about_dialog.h"
#include "clock/clock_window.h"
#include "core/application.h"
#include "core/settings_format.h"
#include "core/store_message.h"
#include "resources/captions.h"

namespace zdz {

void ClockWindow::ToggleTray() { app_.SwitchTrayMode(app_.State().InTray != 0); }

void ClockWindow::OpenOptions() { app_.OpenOptions(); }

void ClockWindow::DeleteSettings() {
  try {
    app_.Desk().Store().Delete(text::kStoreApp);
  } catch (const StoreError& e) {
    // The stored settings are what the next start reads: the clock keeps running by them too.
    app_.Desk().Sys().MessageBox(StoreFailureMessage(text::kNotDeleted, e), text::kAppTitle);
    return;
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
