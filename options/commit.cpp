// OptionsDialog's OK and Cancel, and closing the dialog.
#include "core/application.h"
#include "core/settings_format.h"
#include "core/store_message.h"
#include "options/options_dialog.h"
#include "resources/captions.h"

namespace zdz {

void OptionsDialog::OnOkCancel(std::int16_t index) {
  if (closed_) return;
  if (form_.Ctl("chkALARM", kAlarmTest).Value()) chkA2();
  bool saved = false;
  if (index == kButtonOk) {
    try {
      SaveOptions(app_.Desk().Store(), app_.State());
      saved = true;
    } catch (const StoreError& e) {
      // Nothing was stored: say so rather than lose the choice silently at the next start.
      // The dialog still closes, with the choices in effect for this session.
      app_.Desk().Sys().MessageBox(StoreFailureMessage(text::kNotSaved, e), text::kAppTitle);
    }
  } else {
    ReloadStored();
  }
  Close(saved);
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

void OptionsDialog::Close(bool saved) {
  closed_ = true;
  form_.SetTopmost(false);
  app_.OptionsClosed(saved);
  form_.Hide();
  app_.ReleaseOptions();
}

}  // namespace zdz
