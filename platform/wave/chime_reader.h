#pragma once
// Chime files are read away from the window's thread, on one long-lived reader thread, with a
// deadline: a file on a server that has gone counts as missing. At most one read is in flight;
// while it is stuck, every later read is silent at once, so a read that never returns costs one
// thread and one wait, and the window never waits on it again.

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "platform/wave/wave_image.h"

namespace zdz::wave {

class ChimeReader {
 public:
  ChimeReader();
  // Leaves a stuck reader behind (it stops reading at its next read); joins an idle one.
  ~ChimeReader();
  ChimeReader(const ChimeReader&) = delete;
  ChimeReader& operator=(const ChimeReader&) = delete;

  // wave::Read() of the file `open` gives for `name`; null when it is missing or unplayable,
  // when it has not been read within `deadline` (its late result is dropped), or at once while
  // an earlier read has not returned.
  std::shared_ptr<const Image> Read(const Opener& open, const std::string& name, int maxSeconds,
                                    std::chrono::milliseconds deadline);

 private:
  struct State;
  static void Serve(std::shared_ptr<State> state);

  std::shared_ptr<State> state_;
  std::thread reader_;
};

}  // namespace zdz::wave
