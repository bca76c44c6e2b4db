// Application::Main: the stored settings read, repaired where damaged, and the clock loaded.
#include <optional>

#include "clock/clock_window.h"
#include "core/application.h"
#include "core/settings_format.h"
#include "resources/captions.h"

namespace zdz {

void Application::ReadSettings() {
  auto& store = desktop_.Store();
  for (int i = 0; i < 4; ++i) {
    // A flag the store still cannot give back after the repair reads as False rather than
    // sending start-up round the repair again for ever.
    state_.OptFlag[i] = ToVb(
        TextToBool(store.Read(text::kStoreApp, text::kStoreSection, FlagKey(i))).value_or(false));
  }
  state_.WavePath = store.Read(text::kStoreApp, text::kStoreSection, kKeyWave);
  state_.WaveName = store.Read(text::kStoreApp, text::kStoreSection, kKeyWaveName);
}

void Application::Main() {
  auto& store = desktop_.Store();
  const auto read = [&](const std::string& key) {
    return store.Read(text::kStoreApp, text::kStoreSection, key);
  };

  bool damaged = false;
  std::array<bool, 4> badFlag{};
  for (int i = 0; i < 4; ++i) {
    badFlag[i] = !TextToBool(read(FlagKey(i))).has_value();
    damaged = damaged || badFlag[i];
  }

  if (damaged) {
    // Repair only what is broken: good flags and a chosen chime file survive.
    StoreValues repair;
    for (int i = 0; i < 4; ++i)
      if (badFlag[i]) repair.emplace_back(FlagKey(i), BoolText(false));
    if (read(kKeyWave).empty()) repair.emplace_back(kKeyWave, DefaultWavePath());
    if (read(kKeyWaveName).empty()) repair.emplace_back(kKeyWaveName, text::kChimeName);
    store.SaveAll(text::kStoreApp, text::kStoreSection, repair);
  }
  ReadSettings();

  clock_ = std::make_unique<ClockWindow>(*this);
  clock_->Load();
}

bool Application::Start() {
  try {
    Main();
    return true;
  } catch (const StoreError& e) {
    desktop_.Sys().ReportFailure(std::string(text::kStartStoreFailed) + e.what());
    return false;
  }
}

}  // namespace zdz
