#pragma once
// Forms described as data: the back ends build their windows from these tables.
// Lengths are twips (1/1440 inch).

#include <string>
#include <vector>

#include "platform/vb_types.h"

namespace zdz {

enum class ControlKind {
  kLabel,
  kTimer,
  kGroupBox,
  kCheckBox,
  kOptionButton,
  kCommandButton,
  kPicture,
  kLine,
  kFileDialog,  // never visible; carries the open-file dialog's fixed properties
};

enum class Align { kLeft, kCenter, kRight };

struct FontSpec {
  std::string face;  // empty: the window's default font
  double points = 0;
  bool bold = false;
  bool italic = false;
  int charset = 128;  // 128 Shift-JIS, 0 Western
};

struct ControlSpec {
  std::string name;
  int index = -1;  // member of a control array when >= 0
  ControlKind kind = ControlKind::kLabel;
  std::string container;  // empty: the window itself
  int left = 0, top = 0, width = 0, height = 0;
  // Lines: end points.
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  int lineWidth = 1;
  std::string caption;
  FontSpec font;
  Color backColor = kDefaultColor;
  Color foreColor = kDefaultColor;
  bool border = false;     // labels: single-line (sunken) border
  bool pushStyle = false;  // check boxes drawn as push buttons
  bool enabled = true;
  bool wordWrap = false;
  Align align = Align::kLeft;
  int tabIndex = -1;  // -1: takes no focus
  bool isDefault = false;
  bool isCancel = false;
  int interval = 0;       // timers, milliseconds
  bool showIcon = false;  // pictures: the program icon
  std::string filter;     // file dialog: "text|pattern|..."
};

struct MenuSpec {
  std::string name;
  std::string caption;   // "-" is a separator
  std::string shortcut;  // "Ctrl+T" or empty
  std::vector<MenuSpec> items;
};

// A control placed in its container, the fields a form table gives for every control.
inline ControlSpec PlacedControl(const char* name, int index, ControlKind kind,
                                 const char* container, int left, int top, int width, int height,
                                 const char* caption, int tabIndex) {
  ControlSpec c;
  c.name = name;
  c.index = index;
  c.kind = kind;
  c.container = container;
  c.left = left;
  c.top = top;
  c.width = width;
  c.height = height;
  c.caption = caption;
  c.tabIndex = tabIndex;
  return c;
}

enum class StartPosition { kSystemDefault, kCenterScreen, kManual };

struct FormSpec {
  std::string name;
  std::string caption;
  // Either the outer size (frame, title and menu bar included) or the client size is given.
  int outerWidth = 0, outerHeight = 0;
  int clientWidth = 0, clientHeight = 0;
  // A dialog: a fixed frame, no icon or menu bar of its own, Esc and Enter reach its buttons.
  bool dialog = false;
  bool minButton = false;
  bool maxButton = false;
  bool showInTaskbar = true;
  StartPosition startPosition = StartPosition::kSystemDefault;
  int left = 0, top = 0;  // kManual: client area's top-left corner on the screen
  std::vector<ControlSpec> controls;
  std::vector<MenuSpec> menus;  // top-level menus of the menu bar
};

}  // namespace zdz
