#include "platform/win32/win32_window.h"

#include <set>

#include "platform/form_rules.h"
#include "platform/tick_delay.h"
#include "platform/win32/chime_wait.h"
#include "platform/win32/exit_message.h"
#include "platform/win32/win32_icons.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/win32_tray.h"

namespace zdz::win32 {

namespace {

constexpr wchar_t kClass[] = L"ZoduzazuForm";
constexpr UINT kFirstControlId = 100;

std::set<Window*>& Live() {
  static std::set<Window*> live;
  return live;
}

// Microseconds on the wall clock (since 1601, UTC).
std::int64_t WallMicroseconds() {
  FILETIME now;
  GetSystemTimePreciseAsFileTime(&now);
  return static_cast<std::int64_t>((ULONGLONG{now.dwHighDateTime} << 32 | now.dwLowDateTime) / 10);
}

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
  fonts_.SetDpi(dpi_);
  if (!IsDialog()) ApplyWindowIcons(hwnd_, dpi_);
  if (!IsDialog()) menus_ = std::make_unique<MenuBar>(hwnd_, form_);
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
}

void Window::BuildControls() {
  UINT nextId = kFirstControlId;
  std::set<std::string> groups;
  std::map<const Control*, HWND> windowOf;
  for (const auto& c : form_.Controls()) {
    const UINT id = nextId++;
    if (c->Spec().kind == ControlKind::kTimer) {
      timers_[id] = c.get();
      ArmTimer(id);
      continue;
    }
    auto peer = ChildPeer::Create(*this, *c, id, groups);
    if (!peer) continue;
    c->AttachPeer(peer.get());
    windowOf[c.get()] = peer->Hwnd();
    peers_[peer->Hwnd()] = std::move(peer);
  }
  // Tab order is the windows' Z order.
  HWND after = HWND_TOP;
  for (const Control* c : TabOrder(form_)) {
    const auto it = windowOf.find(c);
    if (it == windowOf.end()) continue;
    SetWindowPos(it->second, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    after = it->second;
  }
}

void Window::Layout() {
  for (auto& [hwnd, peer] : peers_) peer->Refit();
  const FormSpec& spec = form_.Spec();
  int w, h;
  if (outerWidth_ > 0) {
    w = Px(outerWidth_);
    h = Px(outerHeight_);
  } else {
    RECT r{0, 0, Px(spec.clientWidth), Px(spec.clientHeight)};
    AdjustWindowRectExForDpi(&r, static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)),
                             menus_ != nullptr,
                             static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)), dpi_);
    w = r.right - r.left;
    h = r.bottom - r.top;
  }
  SetWindowPos(hwnd_, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::ArmTimer(UINT_PTR id) {
  SetTimer(hwnd_, id,
           static_cast<UINT>(DelayToNextTick(WallMicroseconds(), timers_.at(id)->Spec().interval)),
           nullptr);
}

void Window::Show() {
  if (!placed_) {
    placed_ = true;
    RECT outer, work;
    GetWindowRect(hwnd_, &outer);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const auto place = PlaceOnFirstShow(
        form_.Spec(), {work.left, work.top, work.right - work.left, work.bottom - work.top},
        outer.right - outer.left, outer.bottom - outer.top, [this](int t) { return Px(t); });
    if (place) {
      POINT client{0, 0};
      ClientToScreen(hwnd_, &client);
      const int x = place->x - (place->clientCorner ? client.x - outer.left : 0);
      const int y = place->y - (place->clientCorner ? client.y - outer.top : 0);
      SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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
  // Only the notification icon's clicks open a menu: at the click, however long it waited.
  if (menus_) menus_->Popup(menuName, tray_.ReportedAt());
}

NativeHandle Window::IconHandle() const {
  return reinterpret_cast<NativeHandle>(AppIcon(SmallIconSize(dpi_)));
}

bool Window::PreTranslate(MSG& msg) {
  for (Window* w : Live()) {
    HACCEL accel = w->menus_ ? w->menus_->Accelerators() : nullptr;
    if (accel && IsWindowEnabled(w->hwnd_) &&
        (msg.hwnd == w->hwnd_ || IsChild(w->hwnd_, msg.hwnd)) &&
        TranslateAcceleratorW(w->hwnd_, accel, &msg))
      return true;
    if (IsDialogMessageW(w->hwnd_, &msg)) return true;
  }
  return false;
}

namespace {

POINT CursorNow() {
  POINT at{};
  GetCursorPos(&at);
  return at;
}

}  // namespace

LRESULT CALLBACK Window::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    reinterpret_cast<Window*>(create->lpCreateParams)->hwnd_ = hwnd;
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  return self ? self->OnMessage(msg, wParam, lParam) : DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT Window::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == ExitMessage()) {
    form_.EndRequested();
    return 0;
  }
  if (msg == tray_.TaskbarCreatedMessage() && !IsDialog()) {
    tray_.OnTaskbarCreated();
    return 0;
  }
  switch (msg) {
    case kTrayMessage:
      // Wine's shell sends the icon's clicks rather than posting them: one that meets a chime is
      // queued again, for after it, as a posted click would be. By then the pointer has moved on
      // (Wine even reads it as 0,0): the click's place is taken now.
      if (ChimeWaiting()) {
        deferredAt_.push_back(CursorNow());
        PostMessageW(hwnd_, kTrayMessageAfterChime, wParam, lParam);
      } else {
        tray_.OnCallback(hwnd_, wParam, lParam, CursorNow());
      }
      return 0;
    case kTrayMessageAfterChime: {
      const POINT at = deferredAt_.empty() ? CursorNow() : deferredAt_.front();
      if (!deferredAt_.empty()) deferredAt_.pop_front();
      tray_.OnCallback(hwnd_, wParam, lParam, at);
      return 0;
    }
    case WM_TIMER:
      if (auto it = timers_.find(wParam); it != timers_.end()) {
        ArmTimer(wParam);
        it->second->Click();  // may free nothing of this window: releases wait for the next tick
      }
      return 0;
    case WM_COMMAND:
      if (auto peer = peers_.find(reinterpret_cast<HWND>(lParam)); peer != peers_.end()) {
        peer->second->Notified(HIWORD(wParam));
        return 0;
      }
      // Esc and Enter where no button takes them, as the dialog manager reports them.
      if (LOWORD(wParam) == IDCANCEL) {
        form_.UserCancel();
        return 0;
      }
      if (LOWORD(wParam) == IDOK) {
        form_.UserAccept();
        return 0;
      }
      if (menus_ && HIWORD(wParam) <= 1 && menus_->Chosen(LOWORD(wParam))) return 0;
      break;
    case WM_CTLCOLORSTATIC:
      if (auto peer = peers_.find(reinterpret_cast<HWND>(lParam)); peer != peers_.end())
        return peer->second->Colors(reinterpret_cast<HDC>(wParam));
      break;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      PaintLines(dc, form_, dpi_);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wParam);
      fonts_.SetDpi(dpi_);
      if (!IsDialog()) {
        ApplyWindowIcons(hwnd_, dpi_);
        tray_.ChangeIcon(hwnd_, AppIcon(SmallIconSize(dpi_)));
      }
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      Layout();  // every control's place and font at the new DPI
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
