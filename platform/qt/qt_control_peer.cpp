#include "platform/qt/qt_control_peer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include "platform/form_rules.h"
#include "platform/qt/qt_units.h"

namespace zdz::qt {

namespace {

Qt::Alignment ToQAlign(Align a) {
  switch (a) {
    case Align::kCenter:
      return Qt::AlignHCenter | Qt::AlignTop;
    case Align::kRight:
      return Qt::AlignRight | Qt::AlignTop;
    case Align::kLeft:
    default:
      return Qt::AlignLeft | Qt::AlignTop;
  }
}

}  // namespace

QtControlPeer::QtControlPeer(Control& control, QWidget* parent) : control_(control) {
  BuildWidget(parent);
  if (!widget_) return;
  const ControlSpec& spec = control_.Spec();
  widget_->setObjectName(spec.index < 0 ? Q(spec.name)
                                        : Q(spec.name) + "_" + QString::number(spec.index));
  widget_->setFont(ToQFont(spec.font, parent->font()));
  if (spec.kind == ControlKind::kLine) {
    const int x1 = ToPixels(spec.x1), y1 = ToPixels(spec.y1), x2 = ToPixels(spec.x2);
    widget_->setGeometry(std::min(x1, x2), y1, std::abs(x2 - x1) + 1, spec.lineWidth);
    SetBackColor(spec.foreColor);
  } else {
    SetGeometry(control_.Left(), control_.Top(), control_.Width(), control_.Height());
    SetBackColor(control_.BackColor());
  }
  if (const QColor fore = ToQColor(spec.foreColor);
      fore.isValid() && spec.kind != ControlKind::kLine) {
    QPalette p = widget_->palette();
    p.setColor(QPalette::WindowText, fore);
    p.setColor(QPalette::Text, fore);
    p.setColor(QPalette::ButtonText, fore);
    widget_->setPalette(p);
  }
  SetCaption(control_.Caption());
  widget_->setEnabled(control_.Enabled());
  ConnectInput();
  widget_->show();
}

void QtControlPeer::BuildWidget(QWidget* parent) {
  const ControlSpec& spec = control_.Spec();
  switch (spec.kind) {
    case ControlKind::kLabel: {
      auto* label = new QLabel(parent);
      label->setAlignment(ToQAlign(spec.align));
      label->setWordWrap(spec.wordWrap);
      label->setTextFormat(Qt::PlainText);
      if (spec.border) {
        label->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);  // a Windows client edge
        label->setLineWidth(1);
      }
      widget_ = label;
      break;
    }
    case ControlKind::kGroupBox:
      widget_ = new QGroupBox(parent);
      break;
    case ControlKind::kCheckBox:
      if (spec.pushStyle) {
        auto* button = new QPushButton(parent);
        button->setCheckable(true);
        button->setAutoDefault(false);
        widget_ = button;
      } else {
        widget_ = new QCheckBox(parent);
      }
      break;
    case ControlKind::kOptionButton:
      widget_ = new QRadioButton(parent);  // exclusive within its group box, as the model is
      break;
    case ControlKind::kCommandButton: {
      auto* button = new QPushButton(parent);
      button->setDefault(spec.isDefault);
      widget_ = button;
      break;
    }
    case ControlKind::kPicture: {
      auto* picture = new QLabel(parent);
      picture->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
      picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      picture->setFocusPolicy(Qt::TabFocus);
      if (spec.showIcon) picture->setPixmap(QApplication::windowIcon().pixmap(32, 32));
      widget_ = picture;
      break;
    }
    case ControlKind::kLine: {
      auto* line = new QFrame(parent);
      line->setFrameStyle(QFrame::NoFrame);
      widget_ = line;
      break;
    }
    case ControlKind::kTimer:
    case ControlKind::kFileDialog:
      break;  // no widget
  }
}

void QtControlPeer::ConnectInput() {
  const ControlKind kind = control_.Spec().kind;
  auto* button = qobject_cast<QAbstractButton*>(widget_.data());
  if (!button) return;
  if (kind == ControlKind::kCheckBox) {
    QObject::connect(button, &QAbstractButton::toggled,
                     [this](bool on) { control_.UserSetValue(on); });
  } else if (kind == ControlKind::kOptionButton) {
    QObject::connect(button, &QAbstractButton::toggled, [this](bool on) {
      if (on) control_.UserSetValue(true);
    });
  } else if (kind == ControlKind::kCommandButton) {
    QObject::connect(button, &QAbstractButton::clicked, [this] { control_.UserClick(); });
  }
}

void QtControlPeer::SetCaption(const std::string& text) {
  if (!widget_) return;
  const QString caption = Q(text);
  if (auto* label = qobject_cast<QLabel*>(widget_.data())) {
    // The tick writes the same text until the second changes: that must not cost a repaint.
    if (label->pixmap().isNull() && label->text() != caption) {
      label->setText(caption);
      FitSingleLine();
    }
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget_.data())) {
    if (button->text() != caption) button->setText(caption);
  } else if (auto* box = qobject_cast<QGroupBox*>(widget_.data())) {
    box->setTitle(caption);
  }
}

void QtControlPeer::FitSingleLine() {
  auto* label = qobject_cast<QLabel*>(widget_.data());
  const ControlSpec& spec = control_.Spec();
  if (!label || !IsCondensedToFit(spec) || label->text().isEmpty()) return;
  QFont font = ToQFont(spec.font, label->font());
  const QFontMetrics metrics(font);
  const int percent = CondensedPercent(spec.font, metrics.horizontalAdvance(label->text()),
                                       label->contentsRect().width(), metrics.height());
  if (percent < 100) font.setStretch(percent);
  if (font != label->font()) label->setFont(font);
}

void QtControlPeer::SetValue(bool on) {
  auto* button = qobject_cast<QAbstractButton*>(widget_.data());
  if (!button || button->isChecked() == on) return;
  const QSignalBlocker quiet(button);
  if (!on && control_.Spec().kind == ControlKind::kOptionButton) {
    // An auto-exclusive button refuses to clear itself.
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(true);
  } else {
    button->setChecked(on);
  }
}

void QtControlPeer::SetEnabled(bool enabled) {
  if (widget_) widget_->setEnabled(enabled);
}

void QtControlPeer::SetBackColor(Color color) {
  if (!widget_) return;
  const QColor c = ToQColor(color);
  if (!c.isValid()) return;
  QPalette p = widget_->palette();
  p.setColor(QPalette::Window, c);
  widget_->setPalette(p);
  widget_->setAutoFillBackground(true);
}

void QtControlPeer::SetGeometry(int left, int top, int width, int height) {
  if (!widget_ || control_.Spec().kind == ControlKind::kLine) return;
  widget_->setGeometry(ToPixels(left), ToPixels(top), ToPixels(width), ToPixels(height));
  FitSingleLine();
}

}  // namespace zdz::qt
