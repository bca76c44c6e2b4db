#pragma once
// A form's native window: the controls, menus, timer and fonts of its table, drawn with plain
// Win32 controls at the window's DPI.

#include "platform/win32/win32_api.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/form.h"

namespace zdz::win32 {

class Tray;

class Window : public WindowPeer {
 public:
  Window(Form& form, Tray& tray, HWND owner);
  ~Window() override;

  void Show() override;
  void Hide() override;
  void SetEnabled(bool enabled) override;
  void SetOuterSize(int width, int height) override;
  void SetCaption(const std::string& text) override;
  void SetTopmost(bool topmost) override;
  void PopupMenu(const std::string& menuName) override;
  NativeHandle Handle() const override { return reinterpret_cast<NativeHandle>(hwnd_); }
  NativeHandle IconHandle() const override;

  HWND Hwnd() const { return hwnd_; }
  HACCEL Accelerators() const { return accel_; }
  bool IsDialog() const { return form_.Spec().menus.empty(); }
  int Px(int twips) const { return MulDiv(twips, dpi_, 1440); }
  Form& Model() { return form_; }

  // The message loop asks every live window whether a message is its keyboard input.
  static bool PreTranslate(MSG& msg);

  // The control's font at this DPI, condensed where a one-line label's text would be clipped.
  HFONT FontFor(const Control& control, const std::string& caption);

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
  void BuildMenus();
  void BuildControls();
  void Layout();
  void ArmTimer(UINT_PTR id);
  HFONT FontFor(const FontSpec& spec);
  HFONT Font(const LOGFONTW& lf);
  POINT Origin(const ControlSpec& spec) const;
  void PaintLines(HDC dc);

  Form& form_;
  Tray& tray_;
  HWND hwnd_ = nullptr;
  int dpi_ = 96;
  int outerWidth_, outerHeight_;  // twips, 0 for a client-size form
  bool placed_ = false;
  HMENU bar_ = nullptr;
  HACCEL accel_ = nullptr;
  std::map<std::string, HMENU> popups_;
  std::vector<std::unique_ptr<ControlPeer>> controls_;
  std::vector<std::unique_ptr<MenuItemPeer>> menuPeers_;
  std::map<UINT, Control*> byId_;  // child control id -> model
  std::map<UINT, MenuItem*> menuById_;
  std::map<UINT_PTR, Control*> timers_;
  std::map<std::string, HFONT> fonts_;  // by LOGFONTW bytes
  std::map<const Control*, HWND> childOf_;
};

}  // namespace zdz::win32
