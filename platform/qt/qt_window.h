#pragma once
// A form's top-level window: a main window with a menu bar, or a dialog.

#include <QMargins>
#include <QMenu>
#include <QPointer>
#include <QWidget>

#include <map>
#include <memory>
#include <vector>

#include "platform/form.h"
#include "platform/qt/qt_control_peer.h"

namespace zdz::qt {

class WallTimer;

class QtWindow : public WindowPeer, public QObject {
 public:
  explicit QtWindow(Form& form);
  ~QtWindow() override;

  void Show() override;
  void Hide() override;
  void SetEnabled(bool enabled) override;
  void SetOuterSize(int width, int height) override;
  void SetCaption(const std::string& text) override;
  void SetTopmost(bool topmost) override;
  void PopupMenu(const std::string& menuName) override;
  NativeHandle Handle() const override;
  NativeHandle IconHandle() const override { return 1; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenus(QWidget* window);
  void BuildControls(QWidget* client);
  void ApplySize();
  void PlaceOnFirstShow();

  Form& form_;
  QPointer<QWidget> window_;
  QWidget* client_ = nullptr;
  std::vector<std::unique_ptr<ControlPeer>> controls_;
  std::vector<std::unique_ptr<MenuItemPeer>> menuItems_;
  std::map<std::string, QMenu*> menus_;
  std::vector<WallTimer*> timers_;
  int outerWidth_ = 0, outerHeight_ = 0;  // twips; 0 when the form gives a client size
  QMargins appliedFrame_;                 // the frame the outer size was last sized for
  bool placed_ = false;
};

}  // namespace zdz::qt
