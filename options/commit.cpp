#include "clock/clock_window.h"
#include "core/application.h"
#include "core/settings_format.h"
#include "options/options_dialog.h"
#include "resources/captions.h"

namespace zdz {

void OptionsDialog::OnOkCancel(std::int16_t index) {
  if (closed_) return;
  if (form_.Ctl("chkALARM", 2).Value()) chkA2();
  if (index == 0) {
    try {
      SaveAll();
      if (ClockWindow* clock = app_.Clock()) {
        clock->Window().Menu("menREG").SetEnabled(true);
        app_.SwitchTrayMode(app_.State().Flag(kFlagWindow));
      }
    } catch (const StoreError&) {
      // Keys before the failing one are written; the dialog closes all the same.
    }
  } else {
    ReloadStored();
  }
  Close();
}

void OptionsDialog::SaveAll() {
  const SharedState& state = app_.State();
  SettingsStore& store = app_.Desk().Store();
  for (int i = 0; i < 4; ++i)
    store.Save(text::kStoreApp, text::kStoreSection, FlagKey(i), BoolText(state.Flag(i)));
  store.Save(text::kStoreApp, text::kStoreSection, kKeyWave, state.WavePath);
  store.Save(text::kStoreApp, text::kStoreSection, kKeyWaveName, state.WaveName);
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
  if (ClockWindow* clock = app_.Clock()) {
    clock->ApplyLayout(app_.State().Flag(kFlag24Hour));
    clock->Window().SetEnabled(true);
  }
  form_.Hide();
  app_.ReleaseOptions();
}

}  // namespace zdz
