#pragma once
// WAV playback with the system's sound calls.

#include <string>
#include <vector>

#include "platform/sound.h"

namespace zdz::win32 {

class SystemSound : public Sound {
 public:
  ~SystemSound() override;
  bool Play(const std::string& name, unsigned flags) override;

 private:
  // The sound playing asynchronously from memory: it must outlive the play.
  std::vector<char> playing_;
};

}  // namespace zdz::win32
