#include "options/options_dialog.h"

#include "clock/clock_window.h"
#include "core/application.h"
#include "options/options_form.h"
#include "resources/captions.h"

namespace zdz {

void EnabledAll(bool enabled, std::initializer_list<Control*> objs) {
  for (Control* c : objs) c->SetEnabled(enabled);
}

OptionsDialog::OptionsDialog(Application& app) : app_(app), form_(OptionsFormSpec()) {
  for (int i = 0; i < 3; ++i)
    form_.Ctl("chkALARM", i).onChange = [this](std::int16_t index) { OnAlarmChange(index); };
  form_.Ctl("btnFILE").onClick = [this](std::int16_t) { OnBrowse(); };
  form_.Ctl("opt12").onChange = [this](std::int16_t) { OnDisplayChoice(false); };
  form_.Ctl("opt24").onChange = [this](std::int16_t) { OnDisplayChoice(true); };
  form_.Ctl("optW").onChange = [this](std::int16_t) { OnStartupChoice(true); };
  form_.Ctl("optT").onChange = [this](std::int16_t) { OnStartupChoice(false); };
  for (std::int16_t i : {kButtonOk, kButtonCancel})
    form_.Ctl("btnOKCAN", i).onClick = [this](std::int16_t index) { OnOkCancel(index); };
  // The title bar's close and Esc act as Cancel, so the clock is never left disabled.
  form_.onUserClose = [this] { OnOkCancel(kButtonCancel); };
  form_.AttachPeer(app_.Desk().CreateWindow(form_));
}

OptionsDialog::~OptionsDialog() = default;

void OptionsDialog::Load() {
  const SharedState& state = app_.State();
  openedFlags_ = state.OptFlag;
  openedWavePath_ = state.WavePath;
  for (std::int16_t i = 0; i < 4; ++i)
    SETTING(state.OptFlag[i] ? i : static_cast<std::int16_t>(i + 4));
}

void OptionsDialog::SETTING(std::int16_t index) {
  SharedState& state = app_.State();
  switch (index) {
    case 0:
      form_.Ctl("opt24").SetValue(true);
      break;
    case 1:
      form_.Ctl("optW").SetValue(true);
      break;
    case 2:
    case 6:
      form_.Ctl("chkALARM", kAlarmOn).SetValue(index == 2);
      SavedWaveName = state.WaveName;
      form_.Ctl("lblFILE").SetCaption(state.WaveName);
      break;
    case 3:
      form_.Ctl("chkALARM", kAlarmCuckoo).SetValue(true);
      break;
    case 4:
      form_.Ctl("opt12").SetValue(true);
      break;
    case 5:
      form_.Ctl("optT").SetValue(true);
      break;
    case 7:
      form_.Ctl("chkALARM", kAlarmCuckoo).SetValue(false);
      break;
    default:
      break;
  }
}

void OptionsDialog::chkA2() {
  Control& test = form_.Ctl("chkALARM", kAlarmTest);
  test.SetValue(false);
  test.SetCaption(text::kTest);
}

void OptionsDialog::OnDisplayChoice(bool twentyFourHour) {
  if (ClockWindow* clock = app_.Clock()) clock->ApplyLayout(twentyFourHour);
  app_.State().OptFlag[kFlag24Hour] = ToVb(twentyFourHour);
}

void OptionsDialog::OnStartupChoice(bool asWindow) {
  app_.State().OptFlag[kFlagWindow] = ToVb(asWindow);
}

}  // namespace zdz
