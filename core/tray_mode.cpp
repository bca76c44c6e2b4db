#include "clock/clock_window.h"
#include "core/application.h"
#include "resources/captions.h"

namespace zdz {

namespace {

constexpr std::uint32_t kIconId = 1;

}  // namespace

void Application::SwitchTrayMode(bool asWindow) {
  Form& window = clock_->Window();
  const auto showAsWindow = [&] {
    window.Show();
    state_.InTray = kFalse;
    window.Menu("menTASC").SetCaption(text::kMenTascIn);
  };
  if (asWindow) {
    showAsWindow();
    return;
  }

  NotifyIconData icon;
  icon.cbSize = 88;
  icon.hWnd = window.Handle();
  icon.uID = kIconId;
  icon.uFlags = kNifMessage | kNifIcon | kNifTip;
  icon.uCallbackMessage = kWmMouseMove;
  icon.hIcon = window.IconHandle();
  icon.szTip = text::kAppTitle;
  NotifyArea& tray = desktop_.Tray();
  tray.Add(icon);  // refused when our icon is there already: that one stays in use

  if (!tray.Holds(icon.hWnd, kIconId)) {
    // No notification area: hiding now would leave the clock unreachable.
    showAsWindow();
    return;
  }
  window.Menu("menTASC").SetCaption(text::kMenTascOut);
  state_.InTray = kTrue;
  window.Hide();
}

}  // namespace zdz
