#include "clock/clock_window.h"

#include "clock/clock_form.h"
#include "core/application.h"
#include "core/icon_record.h"
#include "resources/captions.h"

namespace zdz {

ClockWindow::ClockWindow(Application& app) : app_(app), form_(ClockFormSpec()) {
  form_.Ctl("tim1").onClick = [this](std::int16_t) { Tick(); };
  form_.onMouseMove = [this](int b, int s, int x, int y) { OnMouseMove(b, s, x, y); };
  form_.onUserClose = [this] { CloseByUser(); };
  // As the exit command ends it, options dialog or not.
  form_.onEndRequest = [this] { Exit(); };
  form_.Menu("menTASC").onChoose = [this] { ToggleTray(); };
  form_.Menu("menEND").onChoose = [this] { Exit(); };
  form_.Menu("menOPTION").onChoose = [this] { OpenOptions(); };
  form_.Menu("menREG").onChoose = [this] { DeleteSettings(); };
  form_.Menu("menVERJ").onChoose = [this] { OpenVersion(); };
  form_.AttachPeer(app_.Desk().CreateWindow(form_));
}

ClockWindow::~ClockWindow() = default;

void ClockWindow::ApplyLayout(bool twentyFourHour) {
  const ClockLayout& layout = LayoutFor(twentyFourHour);
  form_.SetWidth(layout.windowWidth);
  form_.Ctl("lblTIME").SetWidth(layout.labelWidth);
}

void ClockWindow::ShowAsWindow() {
  form_.Show();
  form_.Menu("menTASC").SetCaption(text::kMenTascIn);
}

void ClockWindow::GoIntoTray() {
  form_.Menu("menTASC").SetCaption(text::kMenTascOut);
  form_.Hide();
}

bool ClockWindow::HideForChime() {
  if (!form_.Visible()) return false;
  form_.Hide();
  return true;
}

void ClockWindow::ShowAfterChime() { form_.Show(); }

void ClockWindow::SetEnabled(bool enabled) { form_.SetEnabled(enabled); }

void ClockWindow::EnableDelete(bool enabled) { form_.Menu("menREG").SetEnabled(enabled); }

void ClockWindow::Load() {
  form_.SetHeight(kClockHeight);
  Control& label = form_.Ctl("lblTIME");
  label.SetGeometry(kTimeLabelLeft, kTimeLabelTop, label.Width(), kTimeLabelHeight);
  ApplyLayout(app_.State().Flag(kFlag24Hour));
  app_.SwitchTrayMode(app_.State().Flag(kFlagWindow));
}

void ClockWindow::Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  // Every time: the icon may remain from an earlier stay in the notification area.
  app_.Desk().Tray().Delete(IconRecord(IconRecordUse::kDelete, form_.Handle()));
  form_.Hide();
}

void ClockWindow::CloseByUser() {
  // Behind the options dialog the window takes no input, closing included.
  if (!form_.Enabled()) return;
  Unload();
  app_.ReleaseClock();
}

}  // namespace zdz
