// OptionsDialog's OK and Cancel, and closing the dialog.
#include "clock/clock_window.h"
#include "core/application.h"
#include "core/settings_format.h"
#include "core/store_message.h"
#include "options/options_dialog.h"
#include "resources/captions.h"

namespace zdz {

void OptionsDialog::OnOkCancel(std::int16_t index) {
  if (closed_) return;
  if (form_.Ctl("chkALARM", kAlarmTest).Value()) chkA2();
  if (index == kButtonOk) {
    try {
      SaveOptions(app_.Desk().Store(), app_.State());
      if (ClockWindow* clock = app_.Clock()) {
        clock->EnableDelete(true);
        app_.SwitchTrayMode(app_.State().Flag(kFlagWindow));
      }
    } catch (const StoreError& e) {
      // Nothing was stored: say so rather than lose the choice silently at the next start.
      // The dialog still closes, with the choices in effect for this session.
      app_.Desk().Sys().MessageBox(StoreFailureMessage(text::kNotSaved, e), text::kAppTitle);
    }
  } else {
    ReloadStored();
  }
  Close();
}

void OptionsDialog::ReloadStored() {
  // What the store cannot give back returns to its value on opening: Cancel never keeps
  // the dialog's changes.
  SharedState opened;
  opened.OptFlag = openedFlags_;
  opened.WavePath = openedWavePath_;
  opened.WaveName = SavedWaveName;
  ReadAgain(app_.Desk().Store(), opened, app_.State());
}

void OptionsDialog::Close() {
  closed_ = true;
  form_.SetTopmost(false);
  app_.OptionsClosed();
  form_.Hide();
  app_.ReleaseOptions();
}

}  // namespace zdz
