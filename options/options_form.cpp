// fomOPTION as a table. Names: btnOKCAN(0) OK, (1) Cancel; frmDISP display form with opt12 /
// opt24; frmSTUP start-up with optT tray / optW window; frmALARM the chime: chkALARM(0) chime on,
// (1) cuckoo, (2) test, btnFILE browse, lblFILE the file's name, Label1 the cuckoo label; cmdWAV
// the open-file dialog's fixed properties.
#include "options/options_form.h"

#include "resources/captions.h"

namespace zdz {

namespace {

const FontSpec kUiGothic{"MS UI Gothic", 9.75, false, false, 128};
const FontSpec kPGothic{"ＭＳ Ｐゴシック", 9.75, false, false, 128};
const FontSpec kUiGothicLarge{"MS UI Gothic", 12, false, false, 128};

ControlSpec Make(const char* name, int index, ControlKind kind, const char* container, int left,
                 int top, int width, int height, const char* caption, const FontSpec& font,
                 int tab) {
  ControlSpec c =
      PlacedControl(name, index, kind, container, left, top, width, height, caption, tab);
  c.font = font;
  return c;
}

}  // namespace

FormSpec OptionsFormSpec() {
  using K = ControlKind;
  FormSpec f;
  f.name = "fomOPTION";
  f.dialog = true;
  f.caption = text::kOptionCaption;
  f.clientWidth = 4605;
  f.clientHeight = 3525;
  f.showInTaskbar = false;
  f.startPosition = StartPosition::kCenterScreen;

  auto& c = f.controls;
  c.push_back(Make("btnOKCAN", 0, K::kCommandButton, "", 720, 2790, 1365, 555, text::kOk,
                   kUiGothicLarge, 0));
  c.push_back(Make("btnOKCAN", 1, K::kCommandButton, "", 2520, 2790, 1365, 555, text::kCancel,
                   kUiGothicLarge, 1));
  c.push_back(
      Make("frmDISP", -1, K::kGroupBox, "", 270, 90, 1905, 1185, text::kFrmDisp, kUiGothic, 2));
  c.push_back(Make("opt12", -1, K::kOptionButton, "frmDISP", 270, 270, 1455, 375, text::kOpt12,
                   kUiGothic, 3));
  c.push_back(Make("opt24", -1, K::kOptionButton, "frmDISP", 270, 675, 1455, 375, text::kOpt24,
                   kUiGothic, 4));
  c.push_back(
      Make("frmSTUP", -1, K::kGroupBox, "", 2430, 90, 1905, 1185, text::kFrmStup, kUiGothic, 5));
  c.push_back(Make("optT", -1, K::kOptionButton, "frmSTUP", 270, 675, 1455, 375, text::kOptT,
                   kUiGothic, 6));
  c.push_back(Make("optW", -1, K::kOptionButton, "frmSTUP", 270, 270, 1455, 375, text::kOptW,
                   kUiGothic, 7));
  c.push_back(
      Make("frmALARM", -1, K::kGroupBox, "", 270, 1440, 4065, 1185, text::kFrmAlarm, kUiGothic, 8));
  c.push_back(Make("chkALARM", 0, K::kCheckBox, "frmALARM", 270, 270, 1185, 375, text::kChkAlarm,
                   kUiGothic, 9));

  ControlSpec file = Make("btnFILE", -1, K::kCommandButton, "frmALARM", 3150, 720, 645, 285,
                          text::kBtnFile, kPGothic, 10);
  file.enabled = false;
  c.push_back(file);

  ControlSpec name =
      Make("lblFILE", -1, K::kLabel, "frmALARM", 270, 720, 2805, 285, "", kPGothic, 11);
  name.border = true;
  name.backColor = kSilver;
  c.push_back(name);

  ControlSpec cuckoo =
      Make("chkALARM", 1, K::kCheckBox, "frmALARM", 2430, 320, 645, 285, text::kOff, kUiGothic, 12);
  cuckoo.pushStyle = true;
  cuckoo.enabled = false;
  c.push_back(cuckoo);

  ControlSpec test = Make("chkALARM", 2, K::kCheckBox, "frmALARM", 3150, 320, 645, 285, text::kTest,
                          kUiGothic, 13);
  test.pushStyle = true;
  test.enabled = false;
  c.push_back(test);

  c.push_back(Make("Label1", -1, K::kLabel, "frmALARM", 1700, 360, 735, 195, text::kCuckooLabel,
                   kUiGothic, 14));

  ControlSpec dialog =
      Make("cmdWAV", -1, K::kFileDialog, "frmALARM", 0, 0, 0, 0, text::kWavDialogTitle, {}, -1);
  dialog.filter = text::kWavFilter;
  c.push_back(dialog);
  return f;
}

}  // namespace zdz
