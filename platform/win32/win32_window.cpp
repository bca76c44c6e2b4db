#include "platform/win32/win32_window.h"

#include <algorithm>
#include <set>

#include "platform/win32/win32_icons.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/win32_tray.h"

namespace zdz::win32 {

namespace {

constexpr wchar_t kClass[] = L"ZoduzazuForm";
constexpr UINT kFirstControlId = 100;
constexpr UINT kFirstMenuId = 1000;

std::set<Window*>& Live() {
  static std::set<Window*> live;
  return live;
}

COLORREF ToColorRef(Color c) {
  if (c & 0x80000000u) return GetSysColor(static_cast<int>(c & 0xFF));
  return static_cast<COLORREF>(c & 0xFFFFFF);
}

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

class ChildPeer : public ControlPeer {
 public:
  ChildPeer(Window& window, Control& model, HWND hwnd, POINT origin)
      : window_(window), model_(model), hwnd_(hwnd), origin_(origin) {}
  void SetCaption(const std::string& text) override {
    // An unchanged caption costs nothing: ten ticks a second set the same text nine times.
    if (text == shown_) return;
    shown_ = text;
    SetWindowTextW(hwnd_, Wide(text).c_str());
    HFONT fitted = window_.FontFor(model_, text);
    if (fitted != reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0)))
      SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(fitted), TRUE);
  }
  void SetValue(bool on) override {
    SendMessageW(hwnd_, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  void SetEnabled(bool enabled) override { EnableWindow(hwnd_, enabled); }
  void SetBackColor(Color) override { InvalidateRect(hwnd_, nullptr, TRUE); }
  void SetGeometry(int left, int top, int width, int height) override {
    MoveWindow(hwnd_, window_.Px(origin_.x + left), window_.Px(origin_.y + top), window_.Px(width),
               window_.Px(height), TRUE);
  }
  void Relayout() { SetGeometry(model_.Left(), model_.Top(), model_.Width(), model_.Height()); }

 private:
  Window& window_;
  Control& model_;
  HWND hwnd_;
  POINT origin_;  // the container's position, twips
  std::string shown_;
};

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

Window::Window(Form& form, Tray& tray, HWND owner)
    : form_(form),
      tray_(tray),
      outerWidth_(form.Spec().outerWidth),
      outerHeight_(form.Spec().outerHeight) {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClass;
    wc.hIcon = AppIcon(32);
    wc.hIconSm = AppIcon(16);
    return RegisterClassExW(&wc) != 0;
  }();
  (void)registered;

  const FormSpec& spec = form.Spec();
  // A fixed single border: no sizing frame, no maximise.
  DWORD style = WS_CAPTION | WS_SYSMENU;
  if (spec.minButton) style |= WS_MINIMIZEBOX;
  if (spec.maxButton) style |= WS_MAXIMIZEBOX;
  DWORD exStyle = IsDialog() ? WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT : WS_EX_CONTROLPARENT;
  // An owned window has no taskbar button.
  HWND parent = spec.showInTaskbar ? nullptr : owner;
  hwnd_ =
      CreateWindowExW(exStyle, kClass, Wide(form.Caption()).c_str(), style, CW_USEDEFAULT,
                      CW_USEDEFAULT, 100, 100, parent, nullptr, GetModuleHandleW(nullptr), this);
  dpi_ = static_cast<int>(GetDpiForWindow(hwnd_));
  if (dpi_ <= 0) dpi_ = 96;
  if (!IsDialog()) ApplyWindowIcons(hwnd_, dpi_);
  if (!IsDialog()) BuildMenus();
  BuildControls();
  Layout();
  Live().insert(this);
}

Window::~Window() {
  Live().erase(this);
  for (const auto& [id, model] : timers_) KillTimer(hwnd_, id);
  for (const auto& c : form_.Controls()) c->AttachPeer(nullptr);
  for (const auto& m : form_.MenuItems()) m->AttachPeer(nullptr);
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
  if (accel_) DestroyAcceleratorTable(accel_);
  for (auto& [key, f] : fonts_) DeleteObject(f);
}

void Window::BuildMenus() {
  bar_ = CreateMenu();
  std::vector<ACCEL> accels;
  UINT nextId = kFirstMenuId;
  for (const auto& item : form_.MenuItems()) {
    MenuItem* model = item.get();
    if (model->Parent().empty()) {
      HMENU popup = CreatePopupMenu();
      popups_[model->Name()] = popup;
      const UINT position = static_cast<UINT>(GetMenuItemCount(bar_));
      AppendMenuW(bar_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup),
                  Wide(model->Caption()).c_str());
      menuPeers_.push_back(std::make_unique<MenuPeer>(hwnd_, bar_, position, *model));
      model->AttachPeer(menuPeers_.back().get());
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
    menuById_[id] = model;
    ACCEL accel{};
    if (ParseShortcut(model->Shortcut(), accel)) {
      accel.cmd = static_cast<WORD>(id);
      accels.push_back(accel);
    }
    menuPeers_.push_back(std::make_unique<MenuPeer>(hwnd_, popup, position, *model));
    model->AttachPeer(menuPeers_.back().get());
  }
  SetMenu(hwnd_, bar_);
  if (!accels.empty())
    accel_ = CreateAcceleratorTableW(accels.data(), static_cast<int>(accels.size()));
}

POINT Window::Origin(const ControlSpec& spec) const {
  // Group boxes are drawn, not containers: their members sit on the window, offset by them.
  POINT p{0, 0};
  for (std::string name = spec.container; !name.empty();) {
    const ControlSpec* box = nullptr;
    for (const auto& c : form_.Controls())
      if (c->Name() == name) box = &c->Spec();
    if (!box) break;
    p.x += box->left;
    p.y += box->top;
    name = box->container;
  }
  return p;
}

HFONT Window::FontFor(const Control& control, const std::string& caption) {
  const ControlSpec& spec = control.Spec();
  HFONT font = FontFor(spec.font);
  if (spec.kind != ControlKind::kLabel || spec.wordWrap || spec.font.face.empty()) return font;
  // The installed face may be wider than the one the form was drawn for: a one-line label
  // whose text would be clipped is drawn condensed instead.
  const std::wstring text = Wide(caption);
  HDC dc = GetDC(hwnd_);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE extent{};
  TEXTMETRICW metrics{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(hwnd_, dc);
  // An italic face leans past its advance widths.
  const int room = Px(spec.width) - 2 - (spec.font.italic ? metrics.tmHeight / 4 : 0);
  if (extent.cx <= room || room <= 0) return font;
  LOGFONTW lf{};
  GetObjectW(font, sizeof lf, &lf);
  lf.lfWidth = std::max<LONG>(1, MulDiv(metrics.tmAveCharWidth, room, extent.cx));
  return Font(lf);
}

HFONT Window::Font(const LOGFONTW& lf) {
  // One font per description, however often a label asks (the time label once a second).
  std::string key(reinterpret_cast<const char*>(&lf), sizeof lf);
  auto [it, added] = fonts_.try_emplace(std::move(key), nullptr);
  if (added) it->second = CreateFontIndirectW(&lf);
  return it->second;
}

HFONT Window::FontFor(const FontSpec& spec) {
  LOGFONTW lf{};
  if (spec.face.empty()) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi_);
    lf = metrics.lfMessageFont;
  } else {
    lf.lfHeight = -MulDiv(static_cast<int>(spec.points * 100 + 0.5), dpi_, 7200);
    lf.lfWeight = spec.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = spec.italic;
    lf.lfCharSet = static_cast<BYTE>(spec.charset);
    lf.lfQuality = CLEARTYPE_QUALITY;
    const std::wstring face = Wide(spec.face);
    lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
  }
  return Font(lf);
}

void Window::BuildControls() {
  UINT nextId = kFirstControlId;
  std::vector<std::pair<int, HWND>> tabOrder;
  std::set<std::string> groupStarted;
  for (const auto& c : form_.Controls()) {
    const ControlSpec& spec = c->Spec();
    if (spec.kind == ControlKind::kTimer) {
      const UINT_PTR id = nextId++;
      timers_[id] = c.get();
      ArmTimer(id);
      continue;
    }
    if (spec.kind == ControlKind::kLine || spec.kind == ControlKind::kFileDialog) continue;

    const wchar_t* cls = L"BUTTON";
    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD exStyle = 0;
    switch (spec.kind) {
      case ControlKind::kLabel:
        cls = L"STATIC";
        style |= SS_NOPREFIX | (spec.wordWrap ? 0 : SS_LEFTNOWORDWRAP) |
                 (spec.align == Align::kCenter ? SS_CENTER : 0) | SS_NOTIFY;
        if (spec.align == Align::kCenter) style &= ~static_cast<DWORD>(SS_LEFTNOWORDWRAP);
        if (spec.border) exStyle |= WS_EX_STATICEDGE;
        break;
      case ControlKind::kPicture:
        cls = L"STATIC";
        style |= SS_ICON | SS_CENTERIMAGE;
        if (spec.border) exStyle |= WS_EX_CLIENTEDGE;
        break;
      case ControlKind::kGroupBox:
        style |= BS_GROUPBOX;
        break;
      case ControlKind::kCheckBox:
        style |= BS_AUTOCHECKBOX | WS_TABSTOP | (spec.pushStyle ? BS_PUSHLIKE : 0);
        break;
      case ControlKind::kOptionButton:
        style |= BS_AUTORADIOBUTTON;
        // One group of option buttons per group box: the first member starts it.
        if (groupStarted.insert(spec.container).second) style |= WS_GROUP | WS_TABSTOP;
        break;
      case ControlKind::kCommandButton:
        style |= WS_TABSTOP | (spec.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        break;
      default:
        break;
    }
    if (!spec.enabled) style |= WS_DISABLED;
    const UINT id = nextId++;
    HWND child = CreateWindowExW(exStyle, cls, Wide(c->Caption()).c_str(), style, 0, 0, 10, 10,
                                 hwnd_, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
    byId_[id] = c.get();
    childOf_[c.get()] = child;
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(*c, c->Caption())), FALSE);
    if (spec.kind == ControlKind::kPicture && spec.showIcon) ShowIconPicture(child, dpi_);
    auto peer = std::make_unique<ChildPeer>(*this, *c, child, Origin(spec));
    c->AttachPeer(peer.get());
    controls_.push_back(std::move(peer));
    if (spec.tabIndex >= 0) tabOrder.emplace_back(spec.tabIndex, child);
  }
  // Tab order is the windows' Z order.
  std::sort(tabOrder.begin(), tabOrder.end());
  HWND after = HWND_TOP;
  for (const auto& [index, child] : tabOrder) {
    SetWindowPos(child, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    after = child;
  }
}

void Window::Layout() {
  for (auto& peer : controls_) static_cast<ChildPeer*>(peer.get())->Relayout();
  const FormSpec& spec = form_.Spec();
  int w, h;
  if (outerWidth_ > 0) {
    w = Px(outerWidth_);
    h = Px(outerHeight_);
  } else {
    RECT r{0, 0, Px(spec.clientWidth), Px(spec.clientHeight)};
    AdjustWindowRectExForDpi(&r, static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)),
                             bar_ != nullptr,
                             static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)), dpi_);
    w = r.right - r.left;
    h = r.bottom - r.top;
  }
  SetWindowPos(hwnd_, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::ArmTimer(UINT_PTR id) {
  // Aimed at the next whole multiple of the interval on the local time (a 100 ms timer at the
  // tenths), so the second flips on the second.
  SYSTEMTIME now;
  GetLocalTime(&now);
  const UINT interval = static_cast<UINT>(std::max(1, timers_.at(id)->Spec().interval));
  const UINT ms = (now.wSecond * 1000u + now.wMilliseconds) % interval;
  const UINT wait = interval - ms;
  SetTimer(hwnd_, id, wait < USER_TIMER_MINIMUM ? USER_TIMER_MINIMUM : wait, nullptr);
}

void Window::PaintLines(HDC dc) {
  for (const auto& c : form_.Controls()) {
    const ControlSpec& s = c->Spec();
    if (s.kind != ControlKind::kLine) continue;
    HPEN pen =
        CreatePen(PS_SOLID, std::max(1, MulDiv(s.lineWidth, dpi_, 96)), ToColorRef(s.foreColor));
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, Px(s.x1), Px(s.y1), nullptr);
    LineTo(dc, Px(s.x2), Px(s.y2));
    SelectObject(dc, old);
    DeleteObject(pen);
  }
}

void Window::Show() {
  if (!placed_) {
    placed_ = true;
    const FormSpec& spec = form_.Spec();
    RECT r;
    GetWindowRect(hwnd_, &r);
    if (spec.startPosition == StartPosition::kCenterScreen) {
      RECT work;
      SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
      SetWindowPos(hwnd_, nullptr, (work.left + work.right - (r.right - r.left)) / 2,
                   (work.top + work.bottom - (r.bottom - r.top)) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (spec.startPosition == StartPosition::kManual) {
      SetWindowPos(hwnd_, nullptr, Px(spec.left), Px(spec.top), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  SetForegroundWindow(hwnd_);
}

void Window::Hide() { ShowWindow(hwnd_, SW_HIDE); }

void Window::SetEnabled(bool enabled) { EnableWindow(hwnd_, enabled); }

void Window::SetOuterSize(int width, int height) {
  outerWidth_ = width;
  outerHeight_ = height;
  Layout();
}

void Window::SetCaption(const std::string& text) { SetWindowTextW(hwnd_, Wide(text).c_str()); }

void Window::SetTopmost(bool topmost) {
  SetWindowPos(hwnd_, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void Window::PopupMenu(const std::string& menuName) {
  auto it = popups_.find(menuName);
  if (it == popups_.end()) return;
  // Without the foreground the menu would stay open when the user clicks elsewhere.
  SetForegroundWindow(hwnd_);
  POINT at;
  GetCursorPos(&at);
  const UINT id = static_cast<UINT>(TrackPopupMenu(
      it->second, TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN, at.x, at.y, 0, hwnd_, nullptr));
  PostMessageW(hwnd_, WM_NULL, 0, 0);
  // The chosen command runs before the pop-up call returns.
  if (auto item = menuById_.find(id); item != menuById_.end()) item->second->UserChoose();
}

NativeHandle Window::IconHandle() const {
  return reinterpret_cast<NativeHandle>(AppIcon(SmallIconSize(dpi_)));
}

bool Window::PreTranslate(MSG& msg) {
  for (Window* w : Live()) {
    if (w->accel_ && IsWindowEnabled(w->hwnd_) &&
        (msg.hwnd == w->hwnd_ || IsChild(w->hwnd_, msg.hwnd)) &&
        TranslateAcceleratorW(w->hwnd_, w->accel_, &msg))
      return true;
    if (IsDialogMessageW(w->hwnd_, &msg)) return true;
  }
  return false;
}

LRESULT CALLBACK Window::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    reinterpret_cast<Window*>(create->lpCreateParams)->hwnd_ = hwnd;
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  return self ? self->Handle(msg, wParam, lParam) : DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT Window::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == tray_.TaskbarCreatedMessage() && !IsDialog()) {
    tray_.OnTaskbarCreated();
    return 0;
  }
  switch (msg) {
    case kTrayMessage:
      tray_.OnCallback(hwnd_, wParam, lParam);
      return 0;
    case WM_TIMER:
      if (auto it = timers_.find(wParam); it != timers_.end()) {
        ArmTimer(wParam);
        it->second->Click();  // may free nothing of this window: releases wait for the next tick
      }
      return 0;
    case WM_COMMAND: {
      const UINT id = LOWORD(wParam);
      if (id == IDCANCEL) {
        form_.UserCancel();
        return 0;
      }
      if (id == IDOK) {
        for (const auto& c : form_.Controls())
          if (c->Spec().isDefault) c->UserClick();
        return 0;
      }
      if (auto m = menuById_.find(id); m != menuById_.end() && HIWORD(wParam) <= 1) {
        m->second->UserChoose();
        return 0;
      }
      if (auto c = byId_.find(id); c != byId_.end() && HIWORD(wParam) == BN_CLICKED) {
        Control& model = *c->second;
        HWND child = reinterpret_cast<HWND>(lParam);
        switch (model.Spec().kind) {
          case ControlKind::kCheckBox:
            model.UserSetValue(SendMessageW(child, BM_GETCHECK, 0, 0) == BST_CHECKED);
            break;
          case ControlKind::kOptionButton:
            model.UserSetValue(true);
            break;
          case ControlKind::kCommandButton:
            model.UserClick();
            break;
          default:
            break;
        }
        return 0;
      }
      break;
    }
    case WM_CTLCOLORSTATIC: {
      HWND child = reinterpret_cast<HWND>(lParam);
      const auto c = byId_.find(static_cast<UINT>(GetDlgCtrlID(child)));
      if (c == byId_.end()) break;
      const Control& model = *c->second;
      HDC dc = reinterpret_cast<HDC>(wParam);
      const Color back = model.BackColor() == kDefaultColor ? kSysButtonFace : model.BackColor();
      if (model.Spec().foreColor != kDefaultColor)
        SetTextColor(dc, ToColorRef(model.Spec().foreColor));
      SetBkColor(dc, ToColorRef(back));
      SetDCBrushColor(dc, ToColorRef(back));
      return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      PaintLines(dc);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wParam);
      for (auto& [model, child] : childOf_) {
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(*model, model->Caption())),
                     TRUE);
        if (model->Spec().showIcon) ShowIconPicture(child, dpi_);
      }
      if (!IsDialog()) {
        ApplyWindowIcons(hwnd_, dpi_);
        tray_.ChangeIcon(hwnd_, AppIcon(SmallIconSize(dpi_)));
      }
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      Layout();
      return 0;
    }
    case WM_CLOSE:
      form_.UserCancel();  // the model decides what closing means
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (wParam) form_.UserCancel();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

}  // namespace zdz::win32
