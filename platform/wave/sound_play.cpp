// Sound's portable part: every desktop reads a chime the same way.
#include "platform/sound.h"

namespace zdz {

std::shared_ptr<const wave::Image> Sound::Load(const std::string& name) {
  return reader_.Read(FileOpener(), name, maxStrokeSeconds_, readDeadline_);
}

bool Sound::Play(const std::string& name, unsigned flags) {
  Stop();
  if (name.empty()) return true;
  auto image = Load(name);
  return image && Output(std::move(image), 1, (flags & kSndAsync) != 0);
}

bool Sound::PlayStrokes(const std::string& name, int strokes) {
  Stop();
  if (name.empty() || strokes < 1) return false;
  auto image = Load(name);
  return image && Output(std::move(image), strokes, false);
}

}  // namespace zdz
