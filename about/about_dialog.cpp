#include "about/about_dialog.h"

#include "about/about_form.h"
#include "core/app_info.h"  // generated
#include "core/application.h"
#include "resources/captions.h"

namespace zdz {

AboutDialog::AboutDialog(Application& app) : app_(app), form_(AboutFormSpec()) {
  form_.Ctl("cmdOK").onClick = [this](std::int16_t) { Unload(); };
  form_.Ctl("cmdSysInfo").onClick = [this](std::int16_t) { StartSysInfo(); };
  form_.AttachPeer(app_.Desk().CreateWindow(form_));
}

AboutDialog::~AboutDialog() = default;

void AboutDialog::Load() {
  form_.SetCaption(std::string(text::kAppTitle) + text::kAboutCaptionSuffix);
  form_.Ctl("lblVersion")
      .SetCaption("Ver." + std::to_string(app::kVersionMajor) + "." +
                  std::to_string(app::kVersionMinor) + "." + std::to_string(app::kVersionRevision));
  form_.Ctl("lblTitle").SetCaption(text::kAppTitle);
}

void AboutDialog::Unload() {
  form_.Hide();
  app_.ReleaseAbout();
}

}  // namespace zdz
