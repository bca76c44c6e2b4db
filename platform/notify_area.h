#pragma once
// The notification area (task tray): one icon per (window, id).

#include <cstdint>
#include <string>

#include "platform/vb_types.h"

namespace zdz {

inline constexpr std::uint32_t kNifMessage = 1;
inline constexpr std::uint32_t kNifIcon = 2;
inline constexpr std::uint32_t kNifTip = 4;
inline constexpr std::uint32_t kWmMouseMove = 0x200;
inline constexpr std::uint32_t kWmLButtonDown = 0x201;
inline constexpr std::uint32_t kWmLButtonUp = 0x202;
inline constexpr std::uint32_t kWmLButtonDblClk = 0x203;
inline constexpr std::uint32_t kWmRButtonDown = 0x204;
inline constexpr std::uint32_t kWmRButtonUp = 0x205;

// The fields of the icon record, with the values the program puts in.
struct NotifyIconData {
  // Informational: the size of the classic 88-byte record and its mouse-move callback. A real
  // desktop uses its own record size and a private message, and hands the message it receives
  // to NotifyAreaListener::IconMessage.
  std::uint32_t cbSize = 0;
  NativeHandle hWnd = 0;
  std::uint32_t uID = 0;
  std::uint32_t uFlags = 0;
  std::uint32_t uCallbackMessage = 0;  // informational, see cbSize
  NativeHandle hIcon = 0;
  std::string szTip;  // UTF-8; the back end converts
};

// What the notification area reports back to the program.
class NotifyAreaListener {
 public:
  virtual ~NotifyAreaListener() = default;
  // A mouse message (kWmLButtonDown...) over the icon (window, id), raw: the program applies
  // its own double-click policy, so a back end reports every message as it comes.
  virtual void IconMessage(NativeHandle window, std::uint32_t id, std::uint32_t message) = 0;
  // The area came into being (later than the program, or re-created after the shell or panel
  // restarted: every icon it held is gone) or went away.
  virtual void AreaChanged(bool available) = 0;
};

class NotifyArea {
 public:
  virtual ~NotifyArea() = default;
  // False when refused: no notification area, or the (window, id) icon exists already.
  virtual bool Add(const NotifyIconData& data) = 0;
  virtual bool Delete(const NotifyIconData& data) = 0;
  // Whether the area holds the icon (window, id) now.
  virtual bool Holds(NativeHandle window, std::uint32_t id) = 0;
  // Null to stop listening. Reports arrive on the window thread.
  virtual void SetListener(NotifyAreaListener* listener) = 0;
};

}  // namespace zdz
