#include "platform/qt/qt_tray.h"

#include "platform/qt/qt_units.h"
#include "platform/qt/tray_hosts.h"

namespace zdz::qt {

QtTray::QtTray() = default;

QtTray::~QtTray() = default;

void QtTray::SetListener(NotifyAreaListener* listener) {
  listener_ = listener;
  if (!listener_) {
    watch_.reset();
    return;
  }
  // Qt's tray icon does not say when its host comes or goes: hear it from the hosts themselves.
  if (!watch_) watch_ = std::make_unique<TrayHostWatch>([this] { Recheck(); });
  SetHost(CurrentHost());
}

void QtTray::SetHost(const QString& host) {
  host_ = host;
  if (watch_) watch_->Follow(host_);
}

QString QtTray::CurrentHost() const {
  if (!qtUsesDBus_) {
    // Qt prefers the D-Bus tray when a host is registered there; so will its first icon.
    const QString sni = StatusNotifierHost();
    return sni.isEmpty() ? XEmbedHost() : sni;
  }
  return *qtUsesDBus_ ? StatusNotifierHost() : XEmbedHost();
}

void QtTray::Recheck() {
  const QString now = CurrentHost();
  if (now == host_) return;
  const bool had = !host_.isEmpty();
  SetHost(now);
  // Icons of a host that went away are gone with it, also when another one took its place.
  if (had) icons_.clear();
  if (!listener_) return;
  if (!now.isEmpty())
    listener_->AreaChanged(true);
  else if (had)
    listener_->AreaChanged(false);
}

void QtTray::Report(NativeHandle window, std::uint32_t id, std::uint32_t message) {
  if (listener_) listener_->IconMessage(window, id, message);
}

bool QtTray::Add(const NotifyIconData& data) {
  if (host_.isEmpty()) SetHost(CurrentHost());
  if (host_.isEmpty()) return false;
  const auto key = std::make_pair(data.hWnd, data.uID);
  if (icons_.count(key)) return false;

  if (!qtUsesDBus_) qtUsesDBus_ = host_.startsWith("sni:");
  auto icon = std::make_unique<QSystemTrayIcon>(TrayIcon());
  icon->setToolTip(Q(data.szTip));
  // Qt folds each click into an activation; hand the program the button message it stands for.
  // Queued: a pop-up menu runs its own loop, and a D-Bus tray's call must be answered first.
  QObject::connect(
      icon.get(), &QSystemTrayIcon::activated, icon.get(),
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
      },
      Qt::QueuedConnection);
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
  return icons_.count({window, id}) > 0 && !host_.isEmpty();
}

}  // namespace zdz::qt
