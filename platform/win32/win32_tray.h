#pragma once
// The notification area through Shell_NotifyIconW.

#include "platform/win32/win32_api.h"

#include <map>
#include <utility>

#include "platform/notify_area.h"

namespace zdz::win32 {

// The icon's private callback message: a real WM_MOUSEMOVE at x = 513 would otherwise read as
// a button press once the client area can be that wide (DPI awareness).
inline constexpr UINT kTrayMessage = WM_APP + 1;
// An icon message that met a chime, queued again for after it. Its own number keeps it apart
// from the icon's fresh messages, which the shell sends and which so come first.
inline constexpr UINT kTrayMessageAfterChime = WM_APP + 2;

class Tray : public NotifyArea {
 public:
  Tray();
  ~Tray() override;
  bool Add(const NotifyIconData& data) override;
  bool Delete(const NotifyIconData& data) override;
  bool Holds(NativeHandle window, std::uint32_t id) override;
  void SetListener(NotifyAreaListener* listener) override { listener_ = listener; }

  // From the window procedure of the icon's window.
  void OnCallback(HWND window, WPARAM id, LPARAM lParam, POINT at);
  // Where the pointer was when the icon's last mouse message arrived.
  POINT ReportedAt() const { return reportedAt_; }
  // A new picture for the window's icons, drawn for its new DPI. An icon the shell will not
  // modify is added again with it.
  void ChangeIcon(HWND window, HICON icon);
  // The picture the shell was last given for an icon we hold; null for none.
  HICON Picture(NativeHandle window, std::uint32_t id) const;
  // The shell's "TaskbarCreated": a restarted shell holds none of our icons.
  void OnTaskbarCreated();
  UINT TaskbarCreatedMessage() const { return taskbarCreated_; }

 private:
  UINT taskbarCreated_;
  NotifyAreaListener* listener_ = nullptr;
  POINT reportedAt_{};
  // What the shell was last given for each icon we hold.
  std::map<std::pair<NativeHandle, std::uint32_t>, NOTIFYICONDATAW> icons_;
};

}  // namespace zdz::win32
