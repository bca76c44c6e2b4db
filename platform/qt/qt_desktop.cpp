#include "platform/qt/qt_desktop.h"

#include <QStandardPaths>

#include "platform/qt/qt_units.h"
#include "platform/qt/qt_window.h"

namespace zdz::qt {

QtDesktop::QtDesktop(const std::string& configBase)
    : store_(configBase), tray_([](NativeHandle window, std::uint32_t message) {
        // The icon reports as a mouse move whose x is the message, in twips.
        if (QtWindow* w = QtWindow::FromHandle(window))
          w->Model().MouseMove(0, 0, message * TwipsPerPixel(), 0);
      }) {}

std::unique_ptr<WindowPeer> QtDesktop::CreateWindow(Form& form) {
  return std::make_unique<QtWindow>(form);
}

std::string QtDesktop::DefaultConfigBase() {
  return S(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}

}  // namespace zdz::qt
