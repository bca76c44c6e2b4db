#pragma once
// How the options are kept in the settings store: six keys under (kStoreApp, kStoreSection),
// their texts and defaults, and the three ways the program reads and writes them.

#include <optional>
#include <string>

#include "core/shared_state.h"
#include "platform/settings_store.h"

namespace zdz {

inline constexpr char kKeyWave[] = "WAVE";
inline constexpr char kKeyWaveName[] = "WAVEName";

// "0".."3": the decimal digit of the flag's index.
std::string FlagKey(int index);

// "True" / "False".
std::string BoolText(bool value);

// "True"/"False" in any letter case, or a number (zero is False); anything else, the empty
// text included, does not convert.
std::optional<bool> TextToBool(const std::string& text);

// What a first run stores and the delete command leaves: every flag False, the chime beside
// the program. InTray is left alone.
void SetDefaults(SharedState& state, const std::string& defaultWave);

// Start-up: repairs only what is damaged (a flag that does not read, or an empty chime where a
// flag was damaged), then reads all six into `state`. Throws StoreError when the repair cannot
// be stored.
void ReadAtStartUp(SettingsStore& store, const std::string& defaultWave, SharedState& state);

// Cancel: the stored options again; each one the store cannot give back takes `opened`'s.
void ReadAgain(SettingsStore& store, const SharedState& opened, SharedState& state);

// OK: all six values, or none (StoreError).
void SaveOptions(SettingsStore& store, const SharedState& state);

}  // namespace zdz
