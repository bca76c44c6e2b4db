#include "platform/wave/chime_player.h"

#include <algorithm>
#include <cstdint>

namespace zdz::wave {

ChimePlayer::ChimePlayer(Opener open, MakeOutput output, int maxStrokeSeconds,
                         std::chrono::milliseconds readDeadline)
    : open_(std::move(open)),
      make_(std::move(output)),
      maxStrokeSeconds_(maxStrokeSeconds),
      readDeadline_(readDeadline) {}

bool ChimePlayer::Start(std::shared_ptr<const Image> image, int strokes, bool async) {
  if (!image) return false;
  if (!made_) {
    made_ = true;
    output_ = make_();
  }
  if (!output_) return false;
  const auto stroke = std::max(image->length, std::chrono::milliseconds(1));
  strokes = static_cast<int>(std::clamp<std::int64_t>(kMaxChime / stroke, 1, strokes));
  return output_->Play(std::move(image), strokes, async, Output::Clock::now() + kMaxChime);
}

bool ChimePlayer::Play(const std::string& name, unsigned flags) {
  Stop();
  if (name.empty()) return true;
  return Start(reader_.Read(open_, name, maxStrokeSeconds_, readDeadline_), 1,
               (flags & kSndAsync) != 0);
}

bool ChimePlayer::PlayStrokes(const std::string& name, int strokes) {
  Stop();
  if (name.empty() || strokes < 1) return false;
  return Start(reader_.Read(open_, name, maxStrokeSeconds_, readDeadline_), strokes, false);
}

void ChimePlayer::Stop() {
  // Stopping loads nothing when nothing ever played.
  if (output_) output_->Stop();
}

}  // namespace zdz::wave
