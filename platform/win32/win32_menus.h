#pragma once
// A form's menu bar: its pop-ups, their items' peers and the items' shortcuts.

#include "platform/win32/win32_api.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/form.h"

namespace zdz::win32 {

class MenuBar {
 public:
  // Builds the bar of `form`'s menus and sets it on `window`, which destroys it. The window
  // detaches the peers from the model before it goes.
  MenuBar(HWND window, Form& form);
  MenuBar(const MenuBar&) = delete;
  MenuBar& operator=(const MenuBar&) = delete;
  ~MenuBar();

  HACCEL Accelerators() const { return accel_; }
  // One top-level menu at `at`, in screen pixels; the chosen command runs before this returns.
  void Popup(const std::string& menuName, POINT at);
  // A WM_COMMAND from a menu or a shortcut: false when `id` is none of this bar's items.
  bool Chosen(UINT id);

 private:
  HWND window_;
  HMENU bar_ = nullptr;
  HACCEL accel_ = nullptr;
  std::map<std::string, HMENU> popups_;
  std::vector<std::unique_ptr<MenuItemPeer>> peers_;
  std::map<UINT, MenuItem*> byId_;
};

}  // namespace zdz::win32
