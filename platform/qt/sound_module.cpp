// The entry points of zoduzazu-sound, the module that holds PulseSound with libsndfile and
// libpulse, loaded by LazySound at the first sound.
#include "platform/qt/pulse_sound.h"

extern "C" {

__attribute__((visibility("default"))) zdz::Sound* zdz_sound_create() {
  return new zdz::qt::PulseSound();
}

__attribute__((visibility("default"))) void zdz_sound_interrupt(zdz::Sound* sound) {
  static_cast<zdz::qt::PulseSound*>(sound)->Interrupt();
}

__attribute__((visibility("default"))) void zdz_sound_destroy(zdz::Sound* sound) { delete sound; }
}
