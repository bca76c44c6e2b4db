#include "platform/qt/qt_tray.h"

#include <QApplication>

#include "platform/qt/qt_units.h"

namespace zdz::qt {

QtTray::QtTray() = default;

QtTray::~QtTray() = default;

void QtTray::Report(NativeHandle window, std::uint32_t id, std::uint32_t message) {
  if (listener_) listener_->IconMessage(window, id, message);
}

bool QtTray::Add(const NotifyIconData& data) {
  if (!QSystemTrayIcon::isSystemTrayAvailable()) return false;
  const auto key = std::make_pair(data.hWnd, data.uID);
  if (icons_.count(key)) return false;

  auto icon = std::make_unique<QSystemTrayIcon>(QApplication::windowIcon());
  icon->setToolTip(Q(data.szTip));
  // Qt folds each click into an activation; hand the program the button message it stands for.
  QObject::connect(icon.get(), &QSystemTrayIcon::activated,
                   [this, key](QSystemTrayIcon::ActivationReason reason) {
                     switch (reason) {
                       case QSystemTrayIcon::Trigger:
                         Report(key.first, key.second, kWmLButtonDown);
                         break;
                       case QSystemTrayIcon::DoubleClick:
                         Report(key.first, key.second, kWmLButtonDblClk);
                         break;
                       case QSystemTrayIcon::Context:
                         Report(key.first, key.second, kWmRButtonDown);
                         break;
                       default:
                         break;
                     }
                   });
  icon->show();
  icons_[key] = std::move(icon);
  return true;
}

bool QtTray::Delete(const NotifyIconData& data) {
  auto it = icons_.find({data.hWnd, data.uID});
  if (it == icons_.end()) return false;
  it->second->hide();
  icons_.erase(it);
  return true;
}

bool QtTray::Holds(NativeHandle window, std::uint32_t id) {
  return icons_.count({window, id}) > 0 && QSystemTrayIcon::isSystemTrayAvailable();
}

}  // namespace zdz::qt
