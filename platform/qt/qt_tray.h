#pragma once
// The notification area through QSystemTrayIcon (an XEmbed or StatusNotifier host).

#include <QSystemTrayIcon>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>

#include "platform/notify_area.h"

namespace zdz::qt {

class QtTray : public NotifyArea {
 public:
  // Delivers an icon's mouse message to the window that added it.
  using Deliver = std::function<void(NativeHandle window, std::uint32_t message)>;
  explicit QtTray(Deliver deliver);
  ~QtTray() override;

  bool Add(const NotifyIconData& data) override;
  bool Delete(const NotifyIconData& data) override;
  bool Holds(NativeHandle window, std::uint32_t id) override;

 private:
  struct Entry {
    std::unique_ptr<QSystemTrayIcon> icon;
    std::unique_ptr<QTimer> pendingClick;
  };
  Deliver deliver_;
  std::map<std::pair<NativeHandle, std::uint32_t>, Entry> icons_;
};

}  // namespace zdz::qt
