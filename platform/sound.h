#pragma once
// WAV playback.

#include <string>

namespace zdz {

inline constexpr unsigned kSndSync = 0;
inline constexpr unsigned kSndAsync = 1;
inline constexpr unsigned kSndNoDefault = 2;

class Sound {
 public:
  virtual ~Sound() = default;
  // Synchronous unless kSndAsync: returns when the sound has ended. A new request ends a
  // sound still playing; the empty name plays nothing. Never a default sound; a missing or
  // unplayable file returns false quickly.
  virtual bool Play(const std::string& name, unsigned flags) = 0;
};

}  // namespace zdz
