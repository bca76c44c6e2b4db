#pragma once
// What a back end supplies for each window, control and menu item it builds: a peer that only
// draws the state the model hands it. Input travels the other way, as calls on the model.

#include <string>

#include "platform/vb_types.h"

namespace zdz {

class ControlPeer {
 public:
  virtual ~ControlPeer() = default;
  virtual void SetCaption(const std::string& text) = 0;
  virtual void SetValue(bool on) = 0;  // checked / selected
  virtual void SetEnabled(bool enabled) = 0;
  virtual void SetBackColor(Color color) = 0;
  virtual void SetGeometry(int left, int top, int width, int height) = 0;  // twips
};

class MenuItemPeer {
 public:
  virtual ~MenuItemPeer() = default;
  virtual void SetCaption(const std::string& text) = 0;
  virtual void SetEnabled(bool enabled) = 0;
};

class WindowPeer {
 public:
  virtual ~WindowPeer() = default;  // destroying the peer destroys the native window
  virtual void Show() = 0;          // modeless, no owner
  virtual void Hide() = 0;
  virtual void SetEnabled(bool enabled) = 0;  // the window as a whole: menus, keys, mouse
  virtual void SetOuterSize(int width, int height) = 0;  // twips, frame included
  virtual void SetCaption(const std::string& text) = 0;
  virtual void SetTopmost(bool topmost) = 0;
  // Modal, at the mouse position. The window is brought to the foreground first, so that the
  // menu closes when the user clicks elsewhere, even when the window itself is hidden.
  virtual void PopupMenu(const std::string& menuName) = 0;
  virtual NativeHandle Handle() const = 0;
  virtual NativeHandle IconHandle() const = 0;
};

}  // namespace zdz
