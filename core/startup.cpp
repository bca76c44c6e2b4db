// Application::Main: the stored settings read, repaired where damaged, and the clock loaded.
#include "clock/clock_window.h"
#include "core/application.h"
#include "core/settings_format.h"
#include "resources/captions.h"

namespace zdz {

void Application::Main() {
  ReadAtStartUp(desktop_.Store(), DefaultWavePath(), state_);
  clock_ = std::make_unique<ClockWindow>(*this);
  clock_->Load();
}

bool Application::Start() {
  try {
    Main();
    return true;
  } catch (const StoreError& e) {
    desktop_.Sys().ReportFailure(std::string(text::kStartStoreFailed) + e.what());
    return false;
  }
}

}  // namespace zdz
