#pragma once
// What the clock asks of the sound: the chime, the Test toggle's sound, silence.

#include <string>

namespace zdz {

inline constexpr unsigned kSndSync = 0;
inline constexpr unsigned kSndAsync = 1;
inline constexpr unsigned kSndNoDefault = 2;

class Sound {
 public:
  virtual ~Sound() = default;
  // One play of a WAV file. Synchronous unless kSndAsync; a new request ends a sound still
  // playing and the empty name plays nothing. Never a default sound: a missing or unplayable
  // file returns false quickly.
  virtual bool Play(const std::string& name, unsigned flags) = 0;
  // The chime: `strokes` plays of one file, read once, synchronous, back to back.
  virtual bool PlayStrokes(const std::string& name, int strokes) = 0;
  // Ends what plays.
  virtual void Stop() = 0;
};

}  // namespace zdz
