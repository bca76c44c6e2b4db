// Application::PlayChime.
#include "clock/clock_window.h"
#include "core/application.h"

namespace zdz {

void Application::PlayChime(std::int16_t count) {
  // Only a visible window is hidden, and only what was hidden here comes back: a clock the
  // user put into the notification area stays there.
  const bool hidden = state_.Flag(kFlagWindow) && clock_->HideForChime();
  if (!state_.WavePath.empty())
    desktop_.Audio().PlayStrokes(state_.WavePath, state_.Flag(kFlagCuckoo) ? count : 1);
  // The session's end, answered during the strokes, may have closed the clock meanwhile.
  if (hidden && clock_) clock_->ShowAfterChime();
}

}  // namespace zdz
