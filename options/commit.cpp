// OptionsDialog's OK and Cancel, and closing the dialog.
#include "clock/clock_window.h"
#include "core/application.h"
#include "core/settings_format.h"
#include "options/options_dialog.h"
#include "resources/captions.h"

namespace zdz {

namespace {

std::string NotSavedMessage(const StoreError& e) {
  switch (e.Reason()) {
    case StoreFailure::kNoSpace:
      return std::string(text::kNotSaved) + text::kNoSpace;
    case StoreFailure::kNotPermitted:
      return std::string(text::kNotSaved) + text::kNotPermitted;
    case StoreFailure::kOther:
      break;
  }
  return std::string(text::kNotSaved) + text::kWriteFailed;
}

}  // namespace

void OptionsDialog::OnOkCancel(std::int16_t index) {
  if (closed_) return;
  if (form_.Ctl("chkALARM", kAlarmTest).Value()) chkA2();
  if (index == kButtonOk) {
    try {
      SaveAll();
      if (ClockWindow* clock = app_.Clock()) {
        clock->EnableDelete(true);
        app_.SwitchTrayMode(app_.State().Flag(kFlagWindow));
      }
    } catch (const StoreError& e) {
      // Nothing was stored: say so rather than lose the choice silently at the next start.
      // The dialog still closes, with the choices in effect for this session.
      app_.Desk().Sys().MessageBox(NotSavedMessage(e), text::kAppTitle);
    }
  } else {
    ReloadStored();
  }
  Close();
}

void OptionsDialog::SaveAll() {
  const SharedState& state = app_.State();
  StoreValues values;
  for (int i = 0; i < 4; ++i) values.emplace_back(FlagKey(i), BoolText(state.Flag(i)));
  values.emplace_back(kKeyWave, state.WavePath);
  values.emplace_back(kKeyWaveName, state.WaveName);
  app_.Desk().Store().SaveAll(text::kStoreApp, text::kStoreSection, values);
}

void OptionsDialog::ReloadStored() {
  SharedState& state = app_.State();
  SettingsStore& store = app_.Desk().Store();
  const auto read = [&](const std::string& key) {
    return store.Read(text::kStoreApp, text::kStoreSection, key);
  };
  // What the store cannot give back returns to its value on opening: Cancel never keeps
  // the dialog's changes.
  for (int i = 0; i < 4; ++i) {
    const auto stored = TextToBool(read(FlagKey(i)));
    state.OptFlag[i] = stored ? ToVb(*stored) : openedFlags_[i];
  }
  const std::string path = read(kKeyWave);
  state.WavePath = path.empty() ? openedWavePath_ : path;
  const std::string name = read(kKeyWaveName);
  state.WaveName = name.empty() ? SavedWaveName : name;
}

void OptionsDialog::Close() {
  closed_ = true;
  form_.SetTopmost(false);
  app_.OptionsClosed();
  form_.Hide();
  app_.ReleaseOptions();
}

}  // namespace zdz
