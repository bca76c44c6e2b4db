#pragma once
// One widget per control of a form, mirroring the model's state and reporting input to it.

#include <QPointer>
#include <QWidget>

#include "platform/form.h"

namespace zdz::qt {

class QtControlPeer : public ControlPeer {
 public:
  // Builds the widget for `control` inside `parent` (null for controls with no widget).
  QtControlPeer(Control& control, QWidget* parent);

  void SetCaption(const std::string& text) override;
  void SetValue(bool on) override;
  void SetEnabled(bool enabled) override;
  void SetBackColor(Color color) override;
  void SetGeometry(int left, int top, int width, int height) override;

  QWidget* Widget() const { return widget_; }

 private:
  void BuildWidget(QWidget* parent);
  void ConnectInput();
  void FitSingleLine();

  Control& control_;
  QPointer<QWidget> widget_;
};

}  // namespace zdz::qt
