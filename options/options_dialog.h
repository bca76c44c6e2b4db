#pragma once
// fomOPTION: edits the live options; OK stores them, Cancel puts the stored ones back.

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>

#include "platform/form.h"
#include "platform/vb_types.h"

namespace zdz {

class Application;

// Members of the control arrays.
inline constexpr std::int16_t kAlarmOn = 0;      // chkALARM: chime on
inline constexpr std::int16_t kAlarmCuckoo = 1;  // chkALARM: cuckoo mode (push button)
inline constexpr std::int16_t kAlarmTest = 2;    // chkALARM: test playback (push button)
inline constexpr std::int16_t kButtonOk = 0;     // btnOKCAN
inline constexpr std::int16_t kButtonCancel = 1;

// Sets the enabled state of each control, in list order.
void EnabledAll(bool enabled, std::initializer_list<Control*> objs);

class OptionsDialog {
 public:
  explicit OptionsDialog(Application& app);
  ~OptionsDialog();

  Form& Window() { return form_; }

  // Puts the current options into the controls.
  void Load();
  // `index`: the OptFlag number 0..3 when that flag is True, the number plus 4 when False.
  void SETTING(std::int16_t index);
  void chkA2();

  // Handlers.
  void OnAlarmChange(std::int16_t index);
  void OnBrowse();
  void OnDisplayChoice(bool twentyFourHour);
  void OnStartupChoice(bool asWindow);
  void OnOkCancel(std::int16_t index);

 private:
  void ReloadStored();
  void Close(bool saved);

  Application& app_;
  Form form_;
  std::string SavedWaveName;
  // What the options were on opening: Cancel falls back to these where the store has nothing.
  std::array<VbBool, 4> openedFlags_{};
  std::string openedWavePath_;
  std::string chosenFileName_;  // the open-file dialog's memory, for this opening only
  bool closed_ = false;
};

}  // namespace zdz
