#pragma once
// The notification area through QSystemTrayIcon (an XEmbed or StatusNotifier host).

#include <QSystemTrayIcon>

#include <map>
#include <memory>

#include "platform/notify_area.h"

namespace zdz::qt {

class QtTray : public NotifyArea {
 public:
  QtTray();
  ~QtTray() override;

  bool Add(const NotifyIconData& data) override;
  bool Delete(const NotifyIconData& data) override;
  bool Holds(NativeHandle window, std::uint32_t id) override;
  void SetListener(NotifyAreaListener* listener) override { listener_ = listener; }

 private:
  void Report(NativeHandle window, std::uint32_t id, std::uint32_t message);

  NotifyAreaListener* listener_ = nullptr;
  std::map<std::pair<NativeHandle, std::uint32_t>, std::unique_ptr<QSystemTrayIcon>> icons_;
};

}  // namespace zdz::qt
