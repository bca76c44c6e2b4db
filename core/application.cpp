#include "core/application.h"

#include "about/about_dialog.h"
#include "clock/clock_window.h"
#include "options/options_dialog.h"
#include "resources/captions.h"

namespace zdz {

Application::Application(Desktop& desktop)
    : desktop_(desktop),
      clickTimer_(desktop.CreateOneShot()),
      clicks_(*clickTimer_, desktop.Sys().DoubleClickMs(), [this](std::uint32_t message) {
        if (clock_)
          clock_->Window().MouseMove(
              0, 0, EncodeIconMessage(message, desktop_.Sys().TwipsPerPixelX()), 0);
      }) {
  desktop_.Tray().SetListener(this);
}

Application::~Application() {
  desktop_.Tray().SetListener(nullptr);
  clickTimer_->Stop();
}

std::string Application::DefaultWavePath() {
  std::string folder = desktop_.Sys().DataFolder();
  const char sep = desktop_.Sys().PathSeparator();
  if (folder.empty() || folder.back() != sep) folder += sep;
  return folder + text::kChimeFile;
}

OptionsDialog& Application::Options() {
  if (!options_) {
    options_ = std::make_unique<OptionsDialog>(*this);
    options_->Load();
  }
  return *options_;
}

AboutDialog& Application::About() {
  if (!about_) {
    about_ = std::make_unique<AboutDialog>(*this);
    about_->Load();
  }
  return *about_;
}

void Application::OpenOptions() {
  OptionsDialog& options = Options();
  options.Window().Show();
  options.Window().SetTopmost(true);
  if (clock_) clock_->SetEnabled(false);
}

void Application::OptionsClosed(bool saved) {
  if (!clock_) return;
  if (saved) {
    clock_->EnableDelete(true);
    SwitchTrayMode(state_.Flag(kFlagWindow));
  }
  clock_->ApplyLayout(state_.Flag(kFlag24Hour));
  clock_->SetEnabled(true);
}

void Application::IconMessage(NativeHandle window, std::uint32_t id, std::uint32_t message) {
  if (clock_ && window == clock_->Window().Handle() && id == kClockIconId) clicks_.Report(message);
}

void Application::AreaChanged(bool available) {
  if (!clock_) return;
  if (!available) {
    // The panel went away with our icon: a hidden clock would be out of reach.
    if (state_.InTray) {
      clock_->ShowAsWindow();
      state_.InTray = kFalse;
    }
    return;
  }
  // A new or re-created area holds none of our icons: add it again.
  if (trayChosen_) SwitchTrayMode(false);
}

void Application::ReleaseClock() {
  if (clock_) released_.push_back(std::shared_ptr<ClockWindow>(std::move(clock_)));
  EndIfNoWindowLeft();
}

void Application::ReleaseOptions() {
  if (options_) released_.push_back(std::shared_ptr<OptionsDialog>(std::move(options_)));
  EndIfNoWindowLeft();
}

void Application::ReleaseAbout() {
  if (about_) released_.push_back(std::shared_ptr<AboutDialog>(std::move(about_)));
  EndIfNoWindowLeft();
}

void Application::EndIfNoWindowLeft() {
  if (!clock_ && !options_ && !about_) End();
}

void Application::End() {
  if (ended_) return;
  ended_ = true;
  clickTimer_->Stop();
  desktop_.Sys().EndProgram();
}

void Application::CollectReleased() { released_.clear(); }

}  // namespace zdz
