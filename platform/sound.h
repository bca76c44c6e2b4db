#pragma once
// WAV playback.

#include <chrono>
#include <memory>
#include <string>

#include "platform/wave/chime_reader.h"
#include "platform/wave/wave_image.h"

namespace zdz {

inline constexpr unsigned kSndSync = 0;
inline constexpr unsigned kSndAsync = 1;
inline constexpr unsigned kSndNoDefault = 2;

// Longest sound one stroke plays; a file that claims more is cut there.
inline constexpr int kMaxStrokeSeconds = 60;
// A chime file that has not been read by then (a server that has gone) counts as missing.
inline constexpr std::chrono::milliseconds kReadDeadline{2000};

// Every desktop reads a file by the same rule (wave::Read, on the sound's one reader thread, with
// the read deadline); a desktop supplies how a file is opened and how a checked image is played.
class Sound {
 public:
  explicit Sound(int maxStrokeSeconds = kMaxStrokeSeconds,
                 std::chrono::milliseconds readDeadline = kReadDeadline)
      : maxStrokeSeconds_(maxStrokeSeconds), readDeadline_(readDeadline) {}
  virtual ~Sound() = default;

  // Synchronous unless kSndAsync: returns when the sound has ended, and never later than its
  // length (at most the cap) plus about two seconds, whatever the sound server does.
  // A new request ends a sound still playing; the empty name plays nothing. Never a default
  // sound; a missing or unplayable file returns false quickly.
  bool Play(const std::string& name, unsigned flags);
  // The chime: `strokes` plays of one file, read once, synchronous, back to back.
  bool PlayStrokes(const std::string& name, int strokes);

  // How this desktop opens a file; run on a reader thread.
  virtual wave::Opener FileOpener() = 0;
  // Plays `image` `strokes` times back to back: synchronously, or (async) in the background.
  virtual bool Output(std::shared_ptr<const wave::Image> image, int strokes, bool async) = 0;
  // Ends what plays.
  virtual void Stop() = 0;

 private:
  std::shared_ptr<const wave::Image> Load(const std::string& name);

  const int maxStrokeSeconds_;
  const std::chrono::milliseconds readDeadline_;
  wave::ChimeReader reader_;
};

}  // namespace zdz
