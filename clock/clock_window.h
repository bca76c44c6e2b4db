#pragma once
// fomTIME: the clock window, its tick, its commands and the notification icon's callback.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "clock/clock_layout.h"
#include "platform/form.h"
#include "platform/local_time.h"

namespace zdz {

class Application;

// The text the clock shows for `t`: "hh:mm:ss", or "ampm hh:mm:ss" on the 12-hour clock.
std::string FormatTime(const LocalTime& t, bool twentyFourHour, const std::string& separator,
                       const std::string& am, const std::string& pm);

class ClockWindow {
 public:
  explicit ClockWindow(Application& app);
  ~ClockWindow();

  Form& Window() { return form_; }

  // Sizes the window for the display form and hands the start-up mode to tray switching.
  void Load();
  void ApplyLayout(bool twentyFourHour);

  // The two presentations, with the tray command's caption that names the way back.
  void ShowAsWindow();
  void GoIntoTray();
  // Around the chime: hides a visible window (true when it did) and shows it again.
  bool HideForChime();
  void ShowAfterChime();
  // Disabled as a whole while the options dialog is open.
  void SetEnabled(bool enabled);
  // The delete command: off once the settings are gone, on when OK has stored them again.
  void EnableDelete(bool enabled);

  void Tick();
  void OnMouseMove(int button, int shift, int xTwips, int yTwips);

  // Menu commands.
  void ToggleTray();
  void OpenOptions();
  void DeleteSettings();
  void OpenVersion();
  void Exit();

 private:
  struct ChimedHour {
    int year, month, day, hour;
    bool operator==(const ChimedHour&) const = default;
  };

  void Unload();
  void CloseByUser();

  Application& app_;
  Form form_;
  std::optional<ChimedHour> lastChime_;
  // What the label shows: nine ticks of ten find it unchanged and format nothing.
  std::optional<std::pair<LocalTime, bool>> shown_;
  bool unloaded_ = false;
};

}  // namespace zdz
