// fomTIME as a table. Names: tim1 the 100 ms timer; lblTIME the time label; menFILE (menTASC
// tray in/out, lin0 separator, menEND exit), menSET (menOPTION options, menLINE1 separator,
// menREG delete settings) and menVER (menVERJ version) the menus.
#include "clock/clock_form.h"

#include "clock/clock_layout.h"
#include "resources/captions.h"

namespace zdz {

FormSpec ClockFormSpec() {
  FormSpec f;
  f.name = "fomTIME";
  f.caption = text::kAppTitle;
  // The 12-hour layout, until the load step applies the stored one.
  f.outerWidth = kLayout12.windowWidth;
  f.outerHeight = kClockHeight;
  f.minButton = true;
  f.maxButton = false;
  f.showInTaskbar = true;
  f.startPosition = StartPosition::kSystemDefault;

  ControlSpec timer;
  timer.name = "tim1";
  timer.kind = ControlKind::kTimer;
  timer.interval = 100;
  f.controls.push_back(timer);

  ControlSpec label;
  label.name = "lblTIME";
  label.kind = ControlKind::kLabel;
  label.left = kTimeLabelLeft;
  label.top = kTimeLabelTop;
  label.width = kLayout12.labelWidth;
  label.height = kTimeLabelHeight;
  label.backColor = kBlack;
  label.foreColor = kGreen;
  label.border = true;
  label.align = Align::kLeft;
  label.font = {"ＭＳ 明朝", 27.75, true, true, 128};
  f.controls.push_back(label);

  f.menus = {
      {"menFILE",
       text::kMenFile,
       "",
       {{"menTASC", text::kMenTascIn, "Ctrl+T", {}},
        {"lin0", "-", "", {}},
        {"menEND", text::kMenEnd, "Ctrl+X", {}}}},
      {"menSET",
       text::kMenSet,
       "",
       {{"menOPTION", text::kMenOption, "Ctrl+O", {}},
        {"menLINE1", "-", "", {}},
        {"menREG", text::kMenReg, "Ctrl+D", {}}}},
      {"menVER", text::kMenVer, "", {{"menVERJ", text::kMenVerJ, "Ctrl+V", {}}}},
  };
  return f;
}

}  // namespace zdz
