#include "platform/win32/win32_controls.h"

#include <algorithm>

#include "platform/win32/win32_icons.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/win32_window.h"

namespace zdz::win32 {

namespace {

// Group boxes are drawn, not containers: their members sit on the window, offset by them.
POINT ContainerOrigin(const Form& form, const ControlSpec& spec) {
  POINT p{0, 0};
  for (std::string name = spec.container; !name.empty();) {
    const ControlSpec* box = nullptr;
    for (const auto& c : form.Controls())
      if (c->Name() == name) box = &c->Spec();
    if (!box) break;
    p.x += box->left;
    p.y += box->top;
    name = box->container;
  }
  return p;
}

}  // namespace

COLORREF ToColorRef(Color c) {
  if (c & 0x80000000u) return GetSysColor(static_cast<int>(c & 0xFF));
  return static_cast<COLORREF>(c & 0xFFFFFF);
}

std::unique_ptr<ChildPeer> ChildPeer::Create(Window& window, Control& model, UINT id,
                                             std::set<std::string>& groups) {
  const ControlSpec& spec = model.Spec();
  const wchar_t* cls = L"BUTTON";
  DWORD style = WS_CHILD | WS_VISIBLE;
  DWORD exStyle = 0;
  Clicked clicked;
  switch (spec.kind) {
    case ControlKind::kLabel:
      cls = L"STATIC";
      style |= SS_NOPREFIX | SS_NOTIFY;
      if (spec.align == Align::kCenter)
        style |= SS_CENTER;
      else if (!spec.wordWrap)
        style |= SS_LEFTNOWORDWRAP;
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
      clicked = [&model](HWND h) {
        model.UserSetValue(SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED);
      };
      break;
    case ControlKind::kOptionButton:
      style |= BS_AUTORADIOBUTTON;
      // One group of option buttons per group box: the first member starts it.
      if (groups.insert(spec.container).second) style |= WS_GROUP | WS_TABSTOP;
      clicked = [&model](HWND) { model.UserSetValue(true); };
      break;
    case ControlKind::kCommandButton:
      style |= WS_TABSTOP | (spec.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
      clicked = [&model](HWND) { model.UserClick(); };
      break;
    case ControlKind::kTimer:
    case ControlKind::kLine:
    case ControlKind::kFileDialog:
      return nullptr;
  }
  if (!model.Enabled()) style |= WS_DISABLED;
  HWND hwnd = CreateWindowExW(exStyle, cls, Wide(model.Caption()).c_str(), style, 0, 0, 10, 10,
                              window.Hwnd(), reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                              GetModuleHandleW(nullptr), nullptr);
  std::unique_ptr<ChildPeer> peer(new ChildPeer(
      window, model, hwnd, ContainerOrigin(window.Model(), spec), std::move(clicked)));
  peer->shown_ = model.Caption();
  peer->Refit();
  return peer;
}

ChildPeer::ChildPeer(Window& window, Control& model, HWND hwnd, POINT origin, Clicked clicked)
    : window_(window), model_(model), hwnd_(hwnd), origin_(origin), clicked_(std::move(clicked)) {}

void ChildPeer::SetCaption(const std::string& text) {
  // An unchanged caption costs nothing: the tick sets the same text until the second changes.
  if (text == shown_) return;
  shown_ = text;
  SetWindowTextW(hwnd_, Wide(text).c_str());
  FitFont();
}

void ChildPeer::SetValue(bool on) {
  SendMessageW(hwnd_, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void ChildPeer::SetEnabled(bool enabled) { EnableWindow(hwnd_, enabled); }

void ChildPeer::SetBackColor(Color) { InvalidateRect(hwnd_, nullptr, TRUE); }

void ChildPeer::SetGeometry(int left, int top, int width, int height) {
  MoveWindow(hwnd_, window_.Px(origin_.x + left), window_.Px(origin_.y + top), window_.Px(width),
             window_.Px(height), TRUE);
  FitFont();
}

void ChildPeer::Refit() {
  SetGeometry(model_.Left(), model_.Top(), model_.Width(), model_.Height());
  if (model_.Spec().kind == ControlKind::kPicture && model_.Spec().showIcon)
    ShowIconPicture(hwnd_, window_.Dpi());
}

void ChildPeer::FitFont() {
  RECT client{};
  GetClientRect(hwnd_, &client);
  HFONT font = window_.Fonts().For(model_.Spec(), shown_, client.right, hwnd_);
  if (font != reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0)))
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void ChildPeer::Notified(WORD code) {
  if (code == BN_CLICKED && clicked_) clicked_(hwnd_);
}

LRESULT ChildPeer::Colors(HDC dc) const {
  const Color back = model_.BackColor() == kDefaultColor ? kSysButtonFace : model_.BackColor();
  if (model_.Spec().foreColor != kDefaultColor)
    SetTextColor(dc, ToColorRef(model_.Spec().foreColor));
  SetBkColor(dc, ToColorRef(back));
  SetDCBrushColor(dc, ToColorRef(back));
  return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
}

void PaintLines(HDC dc, const Form& form, int dpi) {
  for (const auto& c : form.Controls()) {
    const ControlSpec& s = c->Spec();
    if (s.kind != ControlKind::kLine) continue;
    HPEN pen =
        CreatePen(PS_SOLID, std::max(1, MulDiv(s.lineWidth, dpi, 96)), ToColorRef(s.foreColor));
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, MulDiv(s.x1, dpi, 1440), MulDiv(s.y1, dpi, 1440), nullptr);
    LineTo(dc, MulDiv(s.x2, dpi, 1440), MulDiv(s.y2, dpi, 1440));
    SelectObject(dc, old);
    DeleteObject(pen);
  }
}

}  // namespace zdz::win32
