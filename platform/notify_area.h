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
inline constexpr std::uint32_t kWmLButtonDblClk = 0x203;
inline constexpr std::uint32_t kWmRButtonDown = 0x204;

// The fields of the icon record, with the values the program puts in.
struct NotifyIconData {
  std::uint32_t cbSize = 0;
  NativeHandle hWnd = 0;
  std::uint32_t uID = 0;
  std::uint32_t uFlags = 0;
  std::uint32_t uCallbackMessage = 0;
  NativeHandle hIcon = 0;
  std::string szTip;  // UTF-8; the back end converts
};

class NotifyArea {
 public:
  virtual ~NotifyArea() = default;
  // False when refused: no notification area, or the (window, id) icon exists already.
  // Mouse activity over the icon reaches the record's window as a mouse-move whose
  // horizontal position is the mouse message times the twips per pixel.
  virtual bool Add(const NotifyIconData& data) = 0;
  virtual bool Delete(const NotifyIconData& data) = 0;
  // Whether the area holds the icon (window, id) now.
  virtual bool Holds(NativeHandle window, std::uint32_t id) = 0;
};

}  // namespace zdz
