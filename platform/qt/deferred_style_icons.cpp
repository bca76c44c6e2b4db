#include "platform/qt/deferred_style_icons.h"

#include <QIconEngine>
#include <QPainter>

namespace zdz::qt {
namespace {

class DeferredIcon final : public QIconEngine {
 public:
  DeferredIcon(const QStyle* style, QStyle::StandardPixmap which) : style_(style), which_(which) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    Real().paint(painter, rect, Qt::AlignCenter, mode, state);
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Real().pixmap(size, mode, state);
  }
  QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Real().actualSize(size, mode, state);
  }
  QIconEngine* clone() const override { return new DeferredIcon(*this); }

 private:
  const QIcon& Real() {
    if (!read_) real_ = style_->standardIcon(which_);
    read_ = true;
    return real_;
  }

  const QStyle* style_;
  QStyle::StandardPixmap which_;
  bool read_ = false;
  QIcon real_;
};

}  // namespace

QIcon DeferredStyleIcons::standardIcon(StandardPixmap which, const QStyleOption* option,
                                       const QWidget* widget) const {
  if (which == SP_ToolBarHorizontalExtensionButton || which == SP_ToolBarVerticalExtensionButton)
    return QIcon(new DeferredIcon(baseStyle(), which));
  return QProxyStyle::standardIcon(which, option, widget);
}

}  // namespace zdz::qt
