#pragma once
// The application object: owns the shared state and the program-wide window instances,
// and holds the core procedures (Main, SwitchTrayMode, PlayChime).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/icon_message.h"
#include "core/icon_record.h"
#include "core/shared_state.h"
#include "platform/desktop.h"

namespace zdz {

class ClockWindow;
class OptionsDialog;
class AboutDialog;

class Application : private NotifyAreaListener {
 public:
  explicit Application(Desktop& desktop);
  ~Application() override;
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Start-up: reads (and where needed repairs) the stored settings, then loads the clock
  // window. Throws StoreError when the store cannot keep the defaults.
  void Main();
  // Main for an entry point: false, with the reason reported to the user, when the program
  // cannot start.
  bool Start();

  // True: show the clock as a window; False: move it into the notification area.
  void SwitchTrayMode(bool asWindow);

  // Plays the chime once, or `count` times in cuckoo mode.
  void PlayChime(std::int16_t count);

  // The chime beside the program: its data folder joined with "Ruvazu.wav".
  std::string DefaultWavePath();

  // The options dialog, shown over the clock, which stays disabled until OptionsClosed.
  // `saved`: OK stored the settings, so there are settings to delete again and the clock
  // takes the stored presentation.
  void OpenOptions();
  void OptionsClosed(bool saved);

  SharedState& State() { return state_; }
  Desktop& Desk() { return desktop_; }

  // Program-wide instances, created on first reference.
  ClockWindow* Clock() { return clock_.get(); }
  OptionsDialog& Options();
  AboutDialog& About();

  // Drop a window instance. Its objects live until the next safe point, since the call
  // usually comes from one of that window's own handlers.
  void ReleaseClock();
  void ReleaseOptions();
  void ReleaseAbout();

  // Ends the program at once.
  void End();
  bool Ended() const { return ended_; }

  // Frees released windows; called where no handler of theirs is running.
  void CollectReleased();

 private:
  void IconMessage(NativeHandle window, std::uint32_t id, std::uint32_t message) override;
  void AreaChanged(bool available) override;
  void EndIfNoWindowLeft();

  Desktop& desktop_;
  SharedState state_;
  std::unique_ptr<OneShotTimer> clickTimer_;
  IconClickPolicy clicks_;
  // The user's last choice of presentation, kept while a vanished notification area forces
  // the window onto the desktop, so the clock goes back when an area appears.
  bool trayChosen_ = false;
  std::unique_ptr<ClockWindow> clock_;
  std::unique_ptr<OptionsDialog> options_;
  std::unique_ptr<AboutDialog> about_;
  std::vector<std::shared_ptr<void>> released_;
  bool ended_ = false;
};

}  // namespace zdz
