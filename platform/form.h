#pragma once
// The portable control model: every control and menu item owns its state and its handlers;
// the back end's peer only mirrors it. The change rule and option-button groups live here once.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/form_layout.h"
#include "platform/peers.h"

namespace zdz {

class Form;

class Control {
 public:
  Control(Form& form, ControlSpec spec);

  const ControlSpec& Spec() const { return spec_; }
  const std::string& Name() const { return spec_.name; }
  std::int16_t Index() const {
    return static_cast<std::int16_t>(spec_.index < 0 ? 0 : spec_.index);
  }

  const std::string& Caption() const { return caption_; }
  bool Value() const { return value_; }
  bool Enabled() const { return enabled_; }
  Color BackColor() const { return backColor_; }
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

  void SetCaption(const std::string& text);
  void SetEnabled(bool enabled);
  void SetBackColor(Color color);
  void SetGeometry(int left, int top, int width, int height);
  void SetWidth(int width) { SetGeometry(left_, top_, width, height_); }

  // Check boxes and option buttons. Runs the change handler only when the state changes;
  // selecting an option button clears the others of its container first.
  void SetValue(bool on);

  // Input from the user, through the peer: ignored while the control or its window is disabled.
  void UserSetValue(bool on);
  void UserClick();

  // Command buttons, and the timer's expiry.
  void Click();

  std::function<void(std::int16_t index)> onChange;  // check box: any change; option: selected
  std::function<void(std::int16_t index)> onClick;   // command button; timer expiry

  void AttachPeer(ControlPeer* peer);

 private:
  bool Accepting() const;

  Form& form_;
  ControlSpec spec_;
  std::string caption_;
  bool value_ = false;
  bool enabled_ = true;
  Color backColor_;
  int left_, top_, width_, height_;
  ControlPeer* peer_ = nullptr;
};

class MenuItem {
 public:
  MenuItem(Form& form, const MenuSpec& spec, std::string parent);

  const std::string& Name() const { return name_; }
  const std::string& Parent() const { return parent_; }  // empty for a top-level menu
  const std::string& Caption() const { return caption_; }
  const std::string& Shortcut() const { return shortcut_; }
  bool Enabled() const { return enabled_; }
  bool IsSeparator() const { return caption_ == "-"; }

  void SetCaption(const std::string& text);
  void SetEnabled(bool enabled);

  // Chosen from the menu bar, a pop-up or by its shortcut.
  void UserChoose();

  std::function<void()> onChoose;

  void AttachPeer(MenuItemPeer* peer);

 private:
  Form& form_;
  std::string name_, parent_, caption_, shortcut_;
  bool enabled_ = true;
  MenuItemPeer* peer_ = nullptr;
};

// One window: its controls, its menus, its own state, and the peer that shows it.
class Form {
 public:
  explicit Form(FormSpec spec);
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const FormSpec& Spec() const { return spec_; }
  const std::string& Name() const { return spec_.name; }

  Control& Ctl(const std::string& name, int index = -1);
  const Control& Ctl(const std::string& name, int index = -1) const;
  MenuItem& Menu(const std::string& name);
  const std::vector<std::unique_ptr<Control>>& Controls() const { return controls_; }
  const std::vector<std::unique_ptr<MenuItem>>& MenuItems() const { return menuItems_; }

  bool Visible() const { return visible_; }
  bool Enabled() const { return enabled_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  const std::string& Caption() const { return caption_; }

  void Show();
  void Hide();
  void SetEnabled(bool enabled);
  void SetTopmost(bool topmost);
  void SetWidth(int width);
  void SetHeight(int height);
  void SetCaption(const std::string& text);
  void PopupMenu(const std::string& menuName);
  NativeHandle Handle() const;
  NativeHandle IconHandle() const;

  // The user asked to cancel this window: Esc, the title bar's close, Alt+F4. The window's
  // cancel button answers when it has one; otherwise onUserClose.
  void UserCancel();
  // Another program (the setup program replacing this one) asks the program to end now.
  void EndRequested();
  // The user pressed Enter where no button takes it: the window's default button answers.
  void UserAccept();
  // The window's mouse-move notification, position in twips. Ignored while disabled.
  void MouseMove(int button, int shift, int xTwips, int yTwips);

  std::function<void(int button, int shift, int x, int y)> onMouseMove;
  std::function<void()> onUserClose;
  std::function<void()> onEndRequest;

  void AttachPeer(std::unique_ptr<WindowPeer> peer);

 private:
  FormSpec spec_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::vector<std::unique_ptr<MenuItem>> menuItems_;
  std::unique_ptr<WindowPeer> peer_;
  bool visible_ = false;
  bool enabled_ = true;
  int width_, height_;
  std::string caption_;
};

}  // namespace zdz
