// Application::SwitchTrayMode and the icon record it adds.
#include "clock/clock_window.h"
#include "core/application.h"
#include "core/icon_record.h"
#include "resources/captions.h"

namespace zdz {

namespace {

constexpr std::uint32_t kClassicRecordSize = 88;

}  // namespace

NotifyIconData IconRecord(IconRecordUse use, NativeHandle window, NativeHandle icon) {
  NotifyIconData record;
  record.cbSize = kClassicRecordSize;
  record.hWnd = window;
  record.uID = kClockIconId;
  if (use == IconRecordUse::kAdd) {
    record.uFlags = kNifMessage | kNifIcon | kNifTip;
    record.uCallbackMessage = kWmMouseMove;
    record.hIcon = icon;
    record.szTip = text::kAppTitle;
  }
  return record;
}

void Application::SwitchTrayMode(bool asWindow) {
  trayChosen_ = !asWindow;
  const auto showAsWindow = [&] {
    clock_->ShowAsWindow();
    state_.InTray = kFalse;
  };
  if (asWindow) {
    showAsWindow();
    return;
  }

  const NotifyIconData icon =
      IconRecord(IconRecordUse::kAdd, clock_->Window().Handle(), clock_->Window().IconHandle());
  NotifyArea& tray = desktop_.Tray();
  tray.Add(icon);  // refused when our icon is there already: that one stays in use

  if (!tray.Holds(icon.hWnd, kClockIconId)) {
    // No notification area: hiding now would leave the clock unreachable.
    showAsWindow();
    return;
  }
  state_.InTray = kTrue;
  clock_->GoIntoTray();
}

}  // namespace zdz
