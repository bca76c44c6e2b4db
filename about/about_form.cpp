// fomAbout as a table. Names: picIcon the program icon; lblTitle, lblVersion; lblDescription(0..2)
// the maker's lines; Label1 the copyright holder; lblDisclaimer; Line1(0, 1) the etched rule;
// cmdOK (default and cancel) and cmdSysInfo the buttons.
#include "about/about_form.h"

#include "resources/captions.h"

namespace zdz {

namespace {

ControlSpec Box(const char* name, int index, ControlKind kind, int left, int top, int width,
                int height, const char* caption, int tab) {
  return PlacedControl(name, index, kind, "", left, top, width, height, caption, tab);
}

ControlSpec Rule(int index, int x1, int y1, int x2, int y2, Color color, int width) {
  ControlSpec c;
  c.name = "Line1";
  c.index = index;
  c.kind = ControlKind::kLine;
  c.x1 = x1;
  c.y1 = y1;
  c.x2 = x2;
  c.y2 = y2;
  c.foreColor = color;
  c.lineWidth = width;
  return c;
}

ControlSpec MakerLine(int index, int top, int height, const char* caption, int tab) {
  ControlSpec c =
      Box("lblDescription", index, ControlKind::kLabel, 1230, top, 3525, height, caption, tab);
  c.font = {"ＭＳ Ｐゴシック", 12, true, false, 128};
  c.foreColor = kBlack;
  c.align = Align::kCenter;
  c.wordWrap = true;
  return c;
}

}  // namespace

FormSpec AboutFormSpec() {
  using K = ControlKind;
  FormSpec f;
  f.name = "fomAbout";
  f.dialog = true;
  f.clientWidth = 5775;
  f.clientHeight = 3360;
  f.showInTaskbar = false;
  f.startPosition = StartPosition::kManual;
  f.left = 2340;
  f.top = 1935;

  auto& c = f.controls;
  ControlSpec icon = Box("picIcon", -1, K::kPicture, 240, 240, 540, 540, "", 1);
  icon.showIcon = true;
  icon.border = true;
  c.push_back(icon);

  ControlSpec ok = Box("cmdOK", -1, K::kCommandButton, 4230, 2370, 1380, 345, "OK", 0);
  ok.isDefault = true;
  ok.isCancel = true;
  c.push_back(ok);
  c.push_back(
      Box("cmdSysInfo", -1, K::kCommandButton, 4230, 2850, 1380, 345, text::kSysInfoButton, 2));
  c.push_back(Box("Label1", -1, K::kLabel, 450, 1035, 735, 195, text::kCopyrightHolder, 9));
  c.push_back(MakerLine(2, 1800, 285, text::kMakerTrademark, 8));
  c.push_back(MakerLine(1, 1530, 285, text::kMakerCompany, 7));
  c.push_back(Rule(1, 117, 2160, 5654, 2160, kGrey, 1));
  c.push_back(MakerLine(0, 990, 555, text::kMakerCopyright, 3));

  ControlSpec title = Box("lblTitle", -1, K::kLabel, 1050, 240, 1815, 480, "", 5);
  title.font = {"MS UI Gothic", 26.25, true, true, 128};
  title.foreColor = kBlack;
  c.push_back(title);
  c.push_back(Rule(0, 122, 2173, 5644, 2173, kWhite, 2));

  ControlSpec version = Box("lblVersion", -1, K::kLabel, 2880, 450, 2175, 225, "", 6);
  version.font = {"Times New Roman", 12, true, true, 0};
  c.push_back(version);

  ControlSpec warning =
      Box("lblDisclaimer", -1, K::kLabel, 165, 2340, 3975, 915, text::kDisclaimer, 4);
  warning.foreColor = kBlack;
  warning.wordWrap = true;
  c.push_back(warning);
  return f;
}

}  // namespace zdz
