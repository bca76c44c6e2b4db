#include "platform/form.h"

#include <stdexcept>

namespace zdz {

Control::Control(Form& form, ControlSpec spec)
    : form_(form),
      spec_(std::move(spec)),
      caption_(spec_.caption),
      enabled_(spec_.enabled),
      backColor_(spec_.backColor),
      left_(spec_.left),
      top_(spec_.top),
      width_(spec_.width),
      height_(spec_.height) {}

void Control::AttachPeer(ControlPeer* peer) { peer_ = peer; }

void Control::SetCaption(const std::string& text) {
  caption_ = text;
  if (peer_) peer_->SetCaption(text);
}

void Control::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (peer_) peer_->SetEnabled(enabled);
}

void Control::SetBackColor(Color color) {
  backColor_ = color;
  if (peer_) peer_->SetBackColor(color);
}

void Control::SetGeometry(int left, int top, int width, int height) {
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (peer_) peer_->SetGeometry(left, top, width, height);
}

void Control::SetValue(bool on) {
  if (on == value_) return;
  if (spec_.kind == ControlKind::kOptionButton && on) {
    // One selected button per container: the others are cleared without running anything.
    for (const auto& other : form_.Controls()) {
      if (other.get() != this && other->spec_.kind == ControlKind::kOptionButton &&
          other->spec_.container == spec_.container && other->value_) {
        other->value_ = false;
        if (other->peer_) other->peer_->SetValue(false);
      }
    }
  }
  value_ = on;
  if (peer_) peer_->SetValue(on);
  const bool runs =
      spec_.kind == ControlKind::kCheckBox || (spec_.kind == ControlKind::kOptionButton && on);
  if (runs && onChange) onChange(Index());
}

bool Control::Accepting() const { return enabled_ && form_.Enabled(); }

void Control::UserSetValue(bool on) {
  if (!Accepting()) {
    if (peer_) peer_->SetValue(value_);  // undo what the widget may have drawn already
    return;
  }
  SetValue(on);
}

void Control::UserClick() {
  if (Accepting()) Click();
}

void Control::Click() {
  if (onClick) onClick(Index());
}

MenuItem::MenuItem(Form& form, const MenuSpec& spec, std::string parent)
    : form_(form),
      name_(spec.name),
      parent_(std::move(parent)),
      caption_(spec.caption),
      shortcut_(spec.shortcut) {}

void MenuItem::SetCaption(const std::string& text) {
  caption_ = text;
  if (peer_) peer_->SetCaption(text);
}

void MenuItem::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (peer_) peer_->SetEnabled(enabled);
}

void MenuItem::UserChoose() {
  if (enabled_ && form_.Enabled() && onChoose) onChoose();
}

void MenuItem::AttachPeer(MenuItemPeer* peer) { peer_ = peer; }

Form::Form(FormSpec spec)
    : spec_(std::move(spec)),
      width_(spec_.outerWidth),
      height_(spec_.outerHeight),
      caption_(spec_.caption) {
  for (const auto& c : spec_.controls) controls_.push_back(std::make_unique<Control>(*this, c));
  for (const auto& menu : spec_.menus) {
    menuItems_.push_back(std::make_unique<MenuItem>(*this, menu, ""));
    for (const auto& item : menu.items)
      menuItems_.push_back(std::make_unique<MenuItem>(*this, item, menu.name));
  }
}

Control& Form::Ctl(const std::string& name, int index) {
  for (auto& c : controls_)
    if (c->Name() == name && c->Spec().index == index) return *c;
  throw std::out_of_range("no control " + name + "(" + std::to_string(index) + ") on " + Name());
}

const Control& Form::Ctl(const std::string& name, int index) const {
  return const_cast<Form*>(this)->Ctl(name, index);
}

MenuItem& Form::Menu(const std::string& name) {
  for (auto& m : menuItems_)
    if (m->Name() == name) return *m;
  throw std::out_of_range("no menu item " + name + " on " + Name());
}

void Form::AttachPeer(std::unique_ptr<WindowPeer> peer) { peer_ = std::move(peer); }

void Form::Show() {
  visible_ = true;
  if (peer_) peer_->Show();
}

void Form::Hide() {
  visible_ = false;
  if (peer_) peer_->Hide();
}

void Form::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (peer_) peer_->SetEnabled(enabled);
}

void Form::SetTopmost(bool topmost) {
  if (peer_) peer_->SetTopmost(topmost);
}

void Form::SetWidth(int width) {
  width_ = width;
  if (peer_) peer_->SetOuterSize(width_, height_);
}

void Form::SetHeight(int height) {
  height_ = height;
  if (peer_) peer_->SetOuterSize(width_, height_);
}

void Form::SetCaption(const std::string& text) {
  caption_ = text;
  if (peer_) peer_->SetCaption(text);
}

void Form::PopupMenu(const std::string& menuName) {
  if (peer_) peer_->PopupMenu(menuName);
}

NativeHandle Form::Handle() const { return peer_ ? peer_->Handle() : 0; }
NativeHandle Form::IconHandle() const { return peer_ ? peer_->IconHandle() : 0; }

void Form::MouseMove(int button, int shift, int xTwips, int yTwips) {
  // A disabled window takes no mouse input, the notification icon's reports included.
  if (enabled_ && onMouseMove) onMouseMove(button, shift, xTwips, yTwips);
}

void Form::UserCancel() {
  for (const auto& c : controls_)
    if (c->Spec().isCancel) {
      c->UserClick();
      return;
    }
  if (onUserClose) onUserClose();
}

void Form::EndRequested() {
  if (onEndRequest) onEndRequest();
}

void Form::UserAccept() {
  for (const auto& c : controls_)
    if (c->Spec().isDefault) {
      c->UserClick();
      return;
    }
}

}  // namespace zdz
