#include "clock/clock_window.h"
#include "core/application.h"

namespace zdz {

void Application::PlayChime(std::int16_t count) {
  Form& window = clock_->Window();
  // Only a visible window is hidden, and only what was hidden here comes back: a clock the
  // user put into the notification area stays there.
  const bool hide = state_.Flag(kFlagWindow) && window.Visible();
  if (hide) window.Hide();

  Sound& sound = desktop_.Audio();
  if (state_.Flag(kFlagCuckoo)) {
    for (int stroke = 1; stroke <= count; ++stroke) {
      if (state_.WavePath.empty()) break;
      sound.Play(state_.WavePath, kSndSync | kSndNoDefault);
    }
  } else if (!state_.WavePath.empty()) {
    sound.Play(state_.WavePath, kSndSync | kSndNoDefault);
  }

  if (hide) window.Show();
}

}  // namespace zdz
