// The entry points of zoduzazu-sound, the module that holds the PulseAudio output with
// libsndfile and libpulse, loaded by SoundLoader at the first sound.
#include "platform/qt/pulse_output.h"

extern "C" {

__attribute__((visibility("default"))) zdz::wave::Output* zdz_sound_create() {
  return new zdz::qt::PulseOutput();
}

__attribute__((visibility("default"))) void zdz_sound_interrupt(zdz::wave::Output* output) {
  static_cast<zdz::qt::PulseOutput*>(output)->Interrupt();
}

__attribute__((visibility("default"))) void zdz_sound_destroy(zdz::wave::Output* output) {
  delete output;
}
}
