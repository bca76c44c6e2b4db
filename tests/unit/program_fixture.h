#pragma once
// A started program on the fake desktop.

#include <gtest/gtest.h>

#include <memory>

#include "clock/clock_window.h"
#include "core/application.h"
#include "options/options_dialog.h"
#include "platform/fake/fake_desktop.h"

namespace zdz::test {

inline constexpr char kDefaultWave[] = "C:\\Program Files\\Zoduzazu\\Ruvazu.wav";
inline const char* kTascIn = "ﾀｽｸﾄﾚｲに入れる(&T)";
inline const char* kTascOut = "ﾀｽｸトレイから出す(&T)";

class ProgramTest : public ::testing::Test {
 protected:
  ProgramTest() { desk.sound.AddFile("D:\\snd\\bell.wav", fake::TestWave()); }

  // Stored settings of a user who has used the program before.
  void StoreOptions(bool h24, bool window, bool chime, bool cuckoo,
                    const std::string& wave = "D:\\snd\\bell.wav",
                    const std::string& name = " bell.wav") {
    auto& s = desk.store;
    s.Put("0", h24 ? "True" : "False");
    s.Put("1", window ? "True" : "False");
    s.Put("2", chime ? "True" : "False");
    s.Put("3", cuckoo ? "True" : "False");
    s.Put("WAVE", wave);
    s.Put("WAVEName", name);
  }

  void Start() {
    app = std::make_unique<Application>(desk);
    app->Main();
  }
  void Start(bool h24, bool window, bool chime, bool cuckoo,
             const std::string& wave = "D:\\snd\\bell.wav", const std::string& name = " bell.wav") {
    StoreOptions(h24, window, chime, cuckoo, wave, name);
    Start();
  }

  SharedState& state() { return app->State(); }
  fake::FakeWindow& clock() { return *desk.Window("fomTIME"); }
  Form& clockForm() { return clock().Model(); }
  fake::FakeWindow* options() { return desk.Window("fomOPTION"); }
  Form& optionsForm() { return options()->Model(); }
  Control& opt(const std::string& name, int index = -1) { return optionsForm().Ctl(name, index); }
  // What the desktop was told about an options control.
  fake::FakeControl& shown(const std::string& name, int index = -1) {
    return options()->Peer(name, index);
  }
  std::string tasc() { return clockForm().Menu("menTASC").Caption(); }

  // Closed: hidden now, freed at the next safe point.
  bool Gone(const std::string& form) {
    auto* w = desk.Window(form);
    return !w || !w->visible;
  }

  void OpenOptions() { desk.ChooseMenu("fomTIME", "menOPTION"); }

  fake::FakeDesktop desk;
  std::unique_ptr<Application> app;
};

}  // namespace zdz::test
