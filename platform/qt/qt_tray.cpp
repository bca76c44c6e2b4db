#include "platform/qt/qt_tray.h"

#include <QApplication>
#include <QStyleHints>

#include "platform/qt/qt_units.h"

namespace zdz::qt {

QtTray::QtTray(Deliver deliver) : deliver_(std::move(deliver)) {}

QtTray::~QtTray() = default;

bool QtTray::Add(const NotifyIconData& data) {
  if (!QSystemTrayIcon::isSystemTrayAvailable()) return false;
  const auto key = std::make_pair(data.hWnd, data.uID);
  if (icons_.count(key)) return false;

  Entry& entry = icons_[key];
  entry.icon = std::make_unique<QSystemTrayIcon>(QApplication::windowIcon());
  entry.icon->setToolTip(Q(data.szTip));
  // Qt reports the first click of a double click as a click of its own; the menu it would open
  // would swallow the second. Wait out the double-click interval before reporting a click.
  entry.pendingClick = std::make_unique<QTimer>();
  entry.pendingClick->setSingleShot(true);
  entry.pendingClick->setInterval(QGuiApplication::styleHints()->mouseDoubleClickInterval());
  const NativeHandle window = data.hWnd;
  QTimer* pending = entry.pendingClick.get();
  QObject::connect(pending, &QTimer::timeout, [this, window] { deliver_(window, kWmLButtonDown); });
  QObject::connect(entry.icon.get(), &QSystemTrayIcon::activated,
                   [this, window, pending](QSystemTrayIcon::ActivationReason reason) {
                     switch (reason) {
                       case QSystemTrayIcon::Trigger:
                         pending->start();
                         break;
                       case QSystemTrayIcon::DoubleClick:
                         pending->stop();
                         deliver_(window, kWmLButtonDblClk);
                         break;
                       case QSystemTrayIcon::Context:
                         pending->stop();
                         deliver_(window, kWmRButtonDown);
                         break;
                       default:
                         break;
                     }
                   });
  entry.icon->show();
  return true;
}

bool QtTray::Delete(const NotifyIconData& data) {
  auto it = icons_.find({data.hWnd, data.uID});
  if (it == icons_.end()) return false;
  it->second.icon->hide();
  icons_.erase(it);
  return true;
}

bool QtTray::Holds(NativeHandle window, std::uint32_t id) {
  return icons_.count({window, id}) > 0 && QSystemTrayIcon::isSystemTrayAvailable();
}

}  // namespace zdz::qt
