#pragma once
// The one chime player every desktop uses: files are read by the one reading rule on the one
// reader thread, and the desktop's output plays what comes out.

#include <chrono>
#include <functional>
#include <string>

#include "platform/sound.h"
#include "platform/wave/chime_reader.h"
#include "platform/wave/sound_output.h"

namespace zdz::wave {

// Longest sound one stroke plays; a file that claims more is cut there.
inline constexpr int kMaxStrokeSeconds = 60;
// A chime file that has not been read by then (a server that has gone) counts as missing.
inline constexpr std::chrono::milliseconds kReadDeadline{2000};
// A whole chime, all its strokes together: the window is hidden and deaf to the user while it
// plays. Midnight's 24 strokes of up to 7 s fit.
inline constexpr std::chrono::seconds kMaxChime{180};

class ChimePlayer : public Sound {
 public:
  // The desktop's output, made on the first sound that has something to play (its libraries
  // may be loaded then); null when there is none.
  using MakeOutput = std::function<Output*()>;

  ChimePlayer(Opener open, MakeOutput output, int maxStrokeSeconds = kMaxStrokeSeconds,
              std::chrono::milliseconds readDeadline = kReadDeadline);

  // The chime's strokes are as many as fit in kMaxChime, at least one.
  bool Play(const std::string& name, unsigned flags) override;
  bool PlayStrokes(const std::string& name, int strokes) override;
  void Stop() override;

 private:
  bool Start(std::shared_ptr<const Image> image, int strokes, bool async);

  const Opener open_;
  const MakeOutput make_;
  wave::Output* output_ = nullptr;
  bool made_ = false;
  const int maxStrokeSeconds_;
  const std::chrono::milliseconds readDeadline_;
  ChimeReader reader_;
};

}  // namespace zdz::wave
