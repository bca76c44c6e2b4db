#include "platform/qt/qt_desktop.h"

#include <QStandardPaths>

#include "platform/qt/posix_file.h"
#include "platform/qt/qt_one_shot.h"
#include "platform/qt/qt_units.h"
#include "platform/qt/qt_window.h"

namespace zdz::qt {

QtDesktop::QtDesktop(const std::string& configBase)
    : store_(configBase), sound_(OpenPosixFile, [this] { return output_.Load(); }) {}

std::unique_ptr<WindowPeer> QtDesktop::CreateWindow(Form& form) {
  return std::make_unique<QtWindow>(form);
}

std::unique_ptr<OneShotTimer> QtDesktop::CreateOneShot() { return std::make_unique<QtOneShot>(); }

std::string QtDesktop::DefaultConfigBase() {
  return S(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}

}  // namespace zdz::qt
