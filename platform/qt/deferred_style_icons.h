#pragma once

#include <QProxyStyle>

namespace zdz::qt {

// The application's style, with the menu bar's overflow arrows read only when one is drawn.
// Qt's own style loads every such picture through a reader that asks each installed image
// plug-in (JPEG, GIF, SVG...) whether it knows PNG, which keeps them all resident for a day.
class DeferredStyleIcons final : public QProxyStyle {
 public:
  QIcon standardIcon(StandardPixmap which, const QStyleOption* option = nullptr,
                     const QWidget* widget = nullptr) const override;
};

}  // namespace zdz::qt
