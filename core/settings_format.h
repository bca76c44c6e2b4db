#pragma once
// How the options are kept in the settings store.

#include <optional>
#include <string>

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

}  // namespace zdz
