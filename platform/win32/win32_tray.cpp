#include "platform/win32/win32_tray.h"

#include "platform/win32/win32_text.h"

namespace zdz::win32 {

namespace {

NOTIFYICONDATAW Record(const NotifyIconData& data) {
  NOTIFYICONDATAW n{};
  n.cbSize = sizeof n;  // the record's own cbSize describes the classic 88-byte form only
  n.hWnd = reinterpret_cast<HWND>(data.hWnd);
  n.uID = data.uID;
  n.uFlags = data.uFlags;
  n.uCallbackMessage = kTrayMessage;
  n.hIcon = reinterpret_cast<HICON>(data.hIcon);
  const std::wstring tip = Wide(data.szTip);
  lstrcpynW(n.szTip, tip.c_str(), static_cast<int>(std::size(n.szTip)));
  return n;
}

// Adds an icon, replacing one the shell may still hold (after "TaskbarCreated", or one it lost
// track of).
bool Place(NOTIFYICONDATAW& n) {
  if (Shell_NotifyIconW(NIM_ADD, &n)) return true;
  Shell_NotifyIconW(NIM_DELETE, &n);
  return Shell_NotifyIconW(NIM_ADD, &n) != FALSE;
}

}  // namespace

Tray::Tray() : taskbarCreated_(RegisterWindowMessageW(L"TaskbarCreated")) {}

Tray::~Tray() = default;

bool Tray::Add(const NotifyIconData& data) {
  const auto key = std::make_pair(data.hWnd, data.uID);
  if (icons_.count(key)) return false;
  NOTIFYICONDATAW n = Record(data);
  if (!Place(n)) return false;
  icons_[key] = n;
  return true;
}

bool Tray::Delete(const NotifyIconData& data) {
  NOTIFYICONDATAW n{};
  n.cbSize = sizeof n;
  n.hWnd = reinterpret_cast<HWND>(data.hWnd);
  n.uID = data.uID;
  icons_.erase({data.hWnd, data.uID});
  return Shell_NotifyIconW(NIM_DELETE, &n) != FALSE;
}

bool Tray::Holds(NativeHandle window, std::uint32_t id) { return icons_.count({window, id}) > 0; }

void Tray::ChangeIcon(HWND window, HICON icon) {
  for (auto& [key, record] : icons_) {
    if (key.first != reinterpret_cast<NativeHandle>(window) || record.hIcon == icon) continue;
    NOTIFYICONDATAW n = record;
    n.uFlags = NIF_ICON;
    n.hIcon = icon;
    if (!Shell_NotifyIconW(NIM_MODIFY, &n)) {
      // The shell lost the icon without a "TaskbarCreated" yet: put it back, new picture and all.
      n = record;
      n.hIcon = icon;
      if (!Place(n)) continue;
    }
    record.hIcon = icon;
  }
}

HICON Tray::Picture(NativeHandle window, std::uint32_t id) const {
  const auto it = icons_.find({window, id});
  return it == icons_.end() ? nullptr : it->second.hIcon;
}

void Tray::OnCallback(HWND window, WPARAM id, LPARAM lParam, POINT at) {
  reportedAt_ = at;
  if (listener_)
    listener_->IconMessage(reinterpret_cast<NativeHandle>(window), static_cast<std::uint32_t>(id),
                           LOWORD(lParam));
}

void Tray::OnTaskbarCreated() {
  icons_.clear();
  if (listener_) listener_->AreaChanged(true);
}

}  // namespace zdz::win32
