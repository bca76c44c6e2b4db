#pragma once
// The notification area through QSystemTrayIcon (an XEmbed or StatusNotifier host).

#include <QString>
#include <QSystemTrayIcon>

#include <map>
#include <memory>
#include <optional>

#include "platform/notify_area.h"
#include "platform/qt/tray_hosts.h"

namespace zdz::qt {

class QtTray : public NotifyArea {
 public:
  QtTray();
  ~QtTray() override;

  bool Add(const NotifyIconData& data) override;
  bool Delete(const NotifyIconData& data) override;
  bool Holds(NativeHandle window, std::uint32_t id) override;
  void SetListener(NotifyAreaListener* listener) override;

 private:
  void Report(NativeHandle window, std::uint32_t id, std::uint32_t message);
  // The host our icons can live in now: the one Qt settled on, once it has; "" for none.
  QString CurrentHost() const;
  // Notices a host that came, went or was replaced, and tells the listener.
  void Recheck();
  // The host now serving the icons; the watch follows it, to hear when it ends.
  void SetHost(const QString& host);

  NotifyAreaListener* listener_ = nullptr;
  std::map<std::pair<NativeHandle, std::uint32_t>, std::unique_ptr<QSystemTrayIcon>> icons_;
  QString host_;
  // Set when the first icon is made: whether Qt took the D-Bus tray (for the process's life).
  std::optional<bool> qtUsesDBus_;
  std::unique_ptr<TrayHostWatch> watch_;  // while there is a listener
};

}  // namespace zdz::qt
