// Prints where the end-to-end tests click: the centre of every control of the three forms, in
// pixels of its window's client area, one "FORM CONTROL X Y" a line (CONTROL is the widget's
// name: "chkALARM_2" for a member of a control array). The windows are the program's own, built
// from the form tables by the Qt desktop on the display it is run on, so a control moved in its
// table, a menu bar's height or the display's scale is followed without a figure in a script.
#include <QApplication>
#include <QLayout>
#include <QWidget>

#include <cmath>
#include <cstdio>

#include "about/about_form.h"
#include "clock/clock_form.h"
#include "options/options_form.h"
#include "platform/form.h"
#include "platform/qt/qt_units.h"
#include "platform/qt/qt_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  zdz::qt::InstallFonts();  // single-line labels fit their text in the program's faces
  for (const auto& spec : {zdz::ClockFormSpec(), zdz::OptionsFormSpec(), zdz::AboutFormSpec()}) {
    zdz::Form form(spec);
    zdz::qt::QtWindow window(form);
    QWidget* top = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->objectName() == QString::fromStdString(spec.name)) top = w;
    if (!top) {
      std::fprintf(stderr, "form_points: no window for %s\n", spec.name.c_str());
      return 1;
    }
    // A hidden main window has not placed its menu bar and client area yet.
    if (top->layout()) top->layout()->activate();
    // X works in device pixels; Qt's geometry is in logical ones.
    const double scale = top->devicePixelRatioF();
    for (QWidget* w : top->findChildren<QWidget*>()) {
      // Menus are pop-ups of their own, not places in the window.
      if (w->isWindow() || w->objectName().isEmpty() ||
          w->objectName().startsWith(QLatin1String("qt_")))
        continue;
      const QPoint c = w->mapTo(top, w->rect().center());
      std::printf("%s %s %ld %ld\n", spec.name.c_str(), qPrintable(w->objectName()),
                  std::lround(c.x() * scale), std::lround(c.y() * scale));
    }
  }
  return 0;
}
