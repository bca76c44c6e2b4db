#include "core/application.h"

#include "about/about_dialog.h"
#include "clock/clock_window.h"
#include "options/options_dialog.h"
#include "resources/captions.h"

namespace zdz {

Application::Application(Desktop& desktop) : desktop_(desktop) {}

Application::~Application() = default;

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
  desktop_.Sys().EndProgram();
}

void Application::CollectReleased() { released_.clear(); }

}  // namespace zdz
