#include "platform/win32/win32_menus.h"

#include "platform/win32/win32_text.h"

namespace zdz::win32 {

namespace {

constexpr UINT kFirstMenuId = 1000;

// "Ctrl+T" -> the accelerator for Ctrl and T.
bool ParseShortcut(const std::string& text, ACCEL& accel) {
  if (text.size() != 6 || text.rfind("Ctrl+", 0) != 0) return false;
  accel.fVirt = FCONTROL | FVIRTKEY;
  accel.key = static_cast<WORD>(static_cast<unsigned char>(text[5]));
  return true;
}

std::wstring MenuText(const MenuItem& item) {
  std::wstring text = Wide(item.Caption());
  if (!item.Shortcut().empty()) text += L"\t" + Wide(item.Shortcut());
  return text;
}

class MenuPeer : public MenuItemPeer {
 public:
  MenuPeer(HWND window, HMENU parent, UINT position, const MenuItem& model)
      : window_(window), parent_(parent), position_(position), model_(model) {}
  void SetCaption(const std::string&) override {
    const std::wstring text = MenuText(model_);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<wchar_t*>(text.c_str());
    SetMenuItemInfoW(parent_, position_, TRUE, &info);
    DrawMenuBar(window_);
  }
  void SetEnabled(bool enabled) override {
    EnableMenuItem(parent_, position_, MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
    DrawMenuBar(window_);
  }

 private:
  HWND window_;
  HMENU parent_;
  UINT position_;
  const MenuItem& model_;
};

}  // namespace

MenuBar::MenuBar(HWND window, Form& form) : window_(window), bar_(CreateMenu()) {
  std::vector<ACCEL> accels;
  UINT nextId = kFirstMenuId;
  for (const auto& item : form.MenuItems()) {
    MenuItem* model = item.get();
    if (model->Parent().empty()) {
      HMENU popup = CreatePopupMenu();
      popups_[model->Name()] = popup;
      const UINT position = static_cast<UINT>(GetMenuItemCount(bar_));
      AppendMenuW(bar_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup),
                  Wide(model->Caption()).c_str());
      peers_.push_back(std::make_unique<MenuPeer>(window_, bar_, position, *model));
      model->AttachPeer(peers_.back().get());
      continue;
    }
    HMENU popup = popups_.at(model->Parent());
    const UINT position = static_cast<UINT>(GetMenuItemCount(popup));
    if (model->IsSeparator()) {
      AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    const UINT id = nextId++;
    AppendMenuW(popup, MF_STRING, id, MenuText(*model).c_str());
    byId_[id] = model;
    ACCEL accel{};
    if (ParseShortcut(model->Shortcut(), accel)) {
      accel.cmd = static_cast<WORD>(id);
      accels.push_back(accel);
    }
    peers_.push_back(std::make_unique<MenuPeer>(window_, popup, position, *model));
    model->AttachPeer(peers_.back().get());
  }
  SetMenu(window_, bar_);
  if (!accels.empty())
    accel_ = CreateAcceleratorTableW(accels.data(), static_cast<int>(accels.size()));
}

MenuBar::~MenuBar() {
  if (accel_) DestroyAcceleratorTable(accel_);
}

void MenuBar::Popup(const std::string& menuName, POINT at) {
  auto it = popups_.find(menuName);
  if (it == popups_.end()) return;
  // Without the foreground the menu would stay open when the user clicks elsewhere.
  SetForegroundWindow(window_);
  const UINT id = static_cast<UINT>(TrackPopupMenu(
      it->second, TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN, at.x, at.y, 0, window_, nullptr));
  PostMessageW(window_, WM_NULL, 0, 0);
  Chosen(id);
}

bool MenuBar::Chosen(UINT id) {
  auto item = byId_.find(id);
  if (item == byId_.end()) return false;
  item->second->UserChoose();
  return true;
}

}  // namespace zdz::win32
