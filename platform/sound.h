#pragma once
// WAV playback.

#include <string>

namespace zdz {

inline constexpr unsigned kSndSync = 0;
inline constexpr unsigned kSndAsync = 1;
inline constexpr unsigned kSndNoDefault = 2;

// Longest sound one stroke plays; a file that claims more is cut there.
inline constexpr int kMaxStrokeSeconds = 60;

class Sound {
 public:
  virtual ~Sound() = default;
  // Synchronous unless kSndAsync: returns when the sound has ended, and never later than its
  // length (at most kMaxStrokeSeconds) plus about two seconds, whatever the sound server does.
  // A new request ends a sound still playing; the empty name plays nothing. Never a default
  // sound; a missing or unplayable file returns false quickly.
  virtual bool Play(const std::string& name, unsigned flags) = 0;

  // The chime: `strokes` plays of one file, synchronous, back to back. A desktop that can
  // writes them on one stream without gaps; this fallback plays them one by one.
  virtual bool PlayStrokes(const std::string& name, int strokes) {
    bool played = false;
    for (int i = 0; i < strokes; ++i) played = Play(name, kSndSync | kSndNoDefault) || played;
    return played;
  }
};

}  // namespace zdz
