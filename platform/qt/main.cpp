// The Linux program: builds the Qt desktop and hands it to the core.

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "clock/clock_window.h"
#include "core/application.h"
#include "platform/qt/command_line.h"
#include "platform/qt/deferred_style_icons.h"
#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_signals.h"
#include "platform/qt/qt_units.h"
#include "resources/captions.h"

namespace {

bool HasDisplay() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform && *platform) return true;  // the user chose one (offscreen, wayland...)
  for (const char* var : {"DISPLAY", "WAYLAND_DISPLAY"})
    if (const char* v = std::getenv(var); v && *v) return true;
  return false;
}

bool gDesktopUp = false;
zdz::qt::SoundLoader* gSound = nullptr;
QString gFirstWarning;

// Qt aborts when it cannot open the display it was given: say so in one line and exit 1.
void OnQtMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtFatalMsg) {
    const QString reason = gFirstWarning.isEmpty() ? message : gFirstWarning;
    std::fprintf(stderr, "%s%s\n", zdz::text::kStartNoDisplay, qPrintable(reason));
    std::_Exit(1);
  }
  if (type == QtDebugMsg || type == QtInfoMsg) return;
  if (!gDesktopUp) {
    if (gFirstWarning.isEmpty()) gFirstWarning = message;
    return;
  }
  std::fprintf(stderr, "zoduzazu: %s\n", qPrintable(message));
}

}  // namespace

int main(int argc, char** argv) {
  if (int status = zdz::qt::AnswerCommandLine(argc, argv, ZDZ_VERSION, stdout, stderr); status >= 0)
    return status;
  if (!HasDisplay()) {
    std::fprintf(stderr, "%sDISPLAY is not set\n", zdz::text::kStartNoDisplay);
    return 1;
  }
  qInstallMessageHandler(OnQtMessage);
  QApplication app(argc, argv);
  gDesktopUp = true;
  QApplication::setApplicationName("Zoduzazu");
  QApplication::setApplicationVersion(ZDZ_VERSION);
  QApplication::setDesktopFileName("zoduzazu");
  // The clock lives on in the notification area with no window shown.
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setStyle(new zdz::qt::DeferredStyleIcons);
  zdz::qt::InstallAppIcon();
  zdz::qt::InstallFonts();

  zdz::qt::QtDesktop desktop(zdz::qt::QtDesktop::DefaultConfigBase());
  zdz::Application program(desktop);
  gSound = &desktop.SoundModule();
  zdz::qt::QuitOnSignals([] { gSound->Interrupt(); },
                         [&program] {
                           if (zdz::ClockWindow* clock = program.Clock()) {
                             clock->Exit();
                           } else {
                             QApplication::quit();
                           }
                         });
  if (!program.Start()) return 1;
  return QApplication::exec();
}
