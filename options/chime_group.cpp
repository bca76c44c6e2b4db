// OptionsDialog's chime group: chime on, cuckoo, test playback and the file choice.
#include "core/application.h"
#include "options/options_dialog.h"
#include "resources/captions.h"

namespace zdz {

namespace {

// " " and the file-name part of the path, whatever the current directory is.
std::string DisplayName(const std::string& path) {
  const auto slash = path.find_last_of("\\/");
  return " " + (slash == std::string::npos ? path : path.substr(slash + 1));
}

}  // namespace

void OptionsDialog::OnAlarmChange(std::int16_t index) {
  SharedState& state = app_.State();
  Control& box = form_.Ctl("chkALARM", index);
  switch (index) {
    case kAlarmOn: {
      const bool on = box.Value();
      form_.Ctl("lblFILE").SetBackColor(on ? kWhite : kSysButtonFace);
      EnabledAll(on, {&form_.Ctl("chkALARM", kAlarmCuckoo), &form_.Ctl("chkALARM", kAlarmTest),
                      &form_.Ctl("btnFILE")});
      state.OptFlag[kFlagChime] = ToVb(on);
      break;
    }
    case kAlarmCuckoo:
      state.OptFlag[kFlagCuckoo] = ToVb(box.Value());
      box.SetCaption(box.Value() ? text::kOn : text::kOff);
      break;
    case kAlarmTest:
      if (box.Value()) {
        box.SetCaption(text::kStop);
        if (!state.WavePath.empty())
          app_.Desk().Audio().Play(state.WavePath, kSndAsync | kSndNoDefault);
      } else {
        box.SetCaption(text::kTest);
        app_.Desk().Audio().Play("", kSndAsync | kSndNoDefault);  // ends a test still playing
      }
      break;
    default:
      break;
  }
}

void OptionsDialog::OnBrowse() {
  if (form_.Ctl("chkALARM", kAlarmTest).Value()) chkA2();

  const Control& dialog = form_.Ctl("cmdWAV");
  OpenFileRequest request;
  request.title = dialog.Caption();
  request.filter = dialog.Spec().filter;
  request.flags = kOfnPathMustExist | kOfnHideReadOnly;
  request.fileName = chosenFileName_;
  SharedState& state = app_.State();
  const auto chosen = app_.Desk().Sys().ShowOpen(request);
  if (chosen && !chosen->empty()) {
    chosenFileName_ = *chosen;
    state.WaveName = DisplayName(*chosen);
    state.WavePath = *chosen;
  }
  form_.Ctl("lblFILE").SetCaption(state.WaveName);
}

}  // namespace zdz
