#pragma once
// A form's native window: its controls, menus and timers, drawn with plain Win32 controls at
// the window's DPI. The window procedure routes each message to the peer it concerns.

#include "platform/win32/win32_api.h"

#include <deque>
#include <map>
#include <memory>
#include <string>

#include "platform/form.h"
#include "platform/win32/win32_controls.h"
#include "platform/win32/win32_fonts.h"
#include "platform/win32/win32_menus.h"

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
  int Px(int twips) const { return MulDiv(twips, dpi_, 1440); }
  int Dpi() const { return dpi_; }
  Form& Model() { return form_; }
  FontCache& Fonts() { return fonts_; }

  // The message loop asks every live window whether a message is its keyboard input.
  static bool PreTranslate(MSG& msg);

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  bool IsDialog() const { return form_.Spec().dialog; }
  void BuildControls();
  void Layout();
  void ArmTimer(UINT_PTR id);

  Form& form_;
  Tray& tray_;
  // Where the pointer was at each icon click queued again during a chime, oldest first.
  std::deque<POINT> deferredAt_;
  HWND hwnd_ = nullptr;
  int dpi_ = 96;
  int outerWidth_, outerHeight_;  // twips, 0 for a client-size form
  bool placed_ = false;
  FontCache fonts_;
  std::unique_ptr<MenuBar> menus_;                    // null for a dialog
  std::map<HWND, std::unique_ptr<ChildPeer>> peers_;  // the controls, by their native window
  std::map<UINT_PTR, Control*> timers_;               // by timer id
};

}  // namespace zdz::win32
