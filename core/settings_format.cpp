#include "core/settings_format.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "resources/captions.h"

namespace zdz {

std::string FlagKey(int index) { return std::to_string(index); }

std::string BoolText(bool value) { return value ? "True" : "False"; }

namespace {

std::string Trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  const auto last = s.find_last_not_of(" \t");
  return s.substr(first, last - first + 1);
}

bool IsNumber(const std::string& s) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t expDigits = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++expDigits;
    if (expDigits == 0) return false;
  }
  return i == s.size();
}

std::string Read(SettingsStore& store, const std::string& key) {
  return store.Read(text::kStoreApp, text::kStoreSection, key);
}

}  // namespace

std::optional<bool> TextToBool(const std::string& text) {
  std::string t = Trim(text);
  std::string lower = t;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
  if (lower == "true") return true;
  if (lower == "false") return false;
  if (IsNumber(t)) return std::strtod(t.c_str(), nullptr) != 0.0;
  return std::nullopt;
}

void SetDefaults(SharedState& state, const std::string& defaultWave) {
  state.OptFlag.fill(kFalse);
  state.WavePath = defaultWave;
  state.WaveName = text::kChimeName;
}

void ReadAtStartUp(SettingsStore& store, const std::string& defaultWave, SharedState& state) {
  SharedState defaults;
  SetDefaults(defaults, defaultWave);
  StoreValues repair;
  for (int i = 0; i < 4; ++i)
    if (!TextToBool(Read(store, FlagKey(i))))
      repair.emplace_back(FlagKey(i), BoolText(defaults.Flag(i)));
  // Good flags and a chosen chime file survive a repair; a first run stores all six.
  if (!repair.empty()) {
    if (Read(store, kKeyWave).empty()) repair.emplace_back(kKeyWave, defaults.WavePath);
    if (Read(store, kKeyWaveName).empty()) repair.emplace_back(kKeyWaveName, defaults.WaveName);
    store.SaveAll(text::kStoreApp, text::kStoreSection, repair);
  }
  // A flag the store still cannot give back reads as False rather than sending start-up
  // round the repair again for ever.
  for (int i = 0; i < 4; ++i)
    state.OptFlag[i] = ToVb(TextToBool(Read(store, FlagKey(i))).value_or(false));
  state.WavePath = Read(store, kKeyWave);
  state.WaveName = Read(store, kKeyWaveName);
}

void ReadAgain(SettingsStore& store, const SharedState& opened, SharedState& state) {
  for (int i = 0; i < 4; ++i) {
    const auto stored = TextToBool(Read(store, FlagKey(i)));
    state.OptFlag[i] = stored ? ToVb(*stored) : opened.OptFlag[i];
  }
  const std::string path = Read(store, kKeyWave);
  state.WavePath = path.empty() ? opened.WavePath : path;
  const std::string name = Read(store, kKeyWaveName);
  state.WaveName = name.empty() ? opened.WaveName : name;
}

void SaveOptions(SettingsStore& store, const SharedState& state) {
  StoreValues values;
  for (int i = 0; i < 4; ++i) values.emplace_back(FlagKey(i), BoolText(state.Flag(i)));
  values.emplace_back(kKeyWave, state.WavePath);
  values.emplace_back(kKeyWaveName, state.WaveName);
  store.SaveAll(text::kStoreApp, text::kStoreSection, values);
}

}  // namespace zdz
