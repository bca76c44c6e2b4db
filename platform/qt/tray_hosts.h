#pragma once
// Finds the notification-area hosts a QSystemTrayIcon can use, without asking Qt: Qt settles on
// the D-Bus tray or XEmbed the first time it is asked, so asking it early would lock it to
// whatever was there when the program started.

#include <QAbstractNativeEventFilter>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>

class QDBusServiceWatcher;

namespace zdz::qt {

// The XEmbed tray: the owner of the selection _NET_SYSTEM_TRAY_S<screen>, as "x11:<window id>";
// empty when there is none or the display is not an X server.
QString XEmbedHost();

// The StatusNotifierItem tray: the session-bus owner of org.kde.StatusNotifierWatcher, as
// "sni:<unique name>", but only while the watcher says a host is registered (Qt uses the D-Bus
// tray only then); empty otherwise.
QString StatusNotifierHost();

// Calls `changed` soon after a host may have come, gone or been replaced: the XEmbed manager's
// announcement or its window's end on the X server, the D-Bus watcher's name changing hands or
// a host registering with it. Nothing runs in between, so a clock at rest does not look.
class TrayHostWatch final : public QAbstractNativeEventFilter {
 public:
  explicit TrayHostWatch(std::function<void()> changed);
  ~TrayHostWatch() override;

  // The XEmbed host now known, so that its window's end is heard.
  void Follow(const QString& host);

  bool nativeEventFilter(const QByteArray& type, void* message, qintptr* result) override;

 private:
  QTimer recheck_;  // one call for a burst of events
  std::unique_ptr<QDBusServiceWatcher> watcher_;
  std::uint32_t managerAtom_ = 0;
  std::uint32_t selection_ = 0;
  std::uint32_t followed_ = 0;
};

}  // namespace zdz::qt
