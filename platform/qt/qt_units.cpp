#include "platform/qt/qt_units.h"

#include <QGuiApplication>
#include <QIcon>
#include <QPalette>
#include <QScreen>

#include <cmath>

namespace zdz::qt {

double TwipsPerPixel() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const double dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
  return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

int ToPixels(int twips) { return static_cast<int>(std::lround(twips / TwipsPerPixel())); }

QColor ToQColor(Color color) {
  if (color == kDefaultColor) return {};
  if (color & 0x80000000u) {
    const QPalette palette = QGuiApplication::palette();
    switch (color & 0xFF) {
      case 15:
        return palette.color(QPalette::Button);
      case 18:
        return palette.color(QPalette::ButtonText);
      default:
        return palette.color(QPalette::Window);
    }
  }
  return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

QFont ToQFont(const FontSpec& spec, const QFont& fallback) {
  if (spec.face.empty()) return fallback;
  QFont font(Q(spec.face));
  font.setPointSizeF(spec.points);
  font.setBold(spec.bold);
  font.setItalic(spec.italic);
  return font;
}

void InstallFontSubstitutions() {
  QFont::insertSubstitutions("ＭＳ 明朝", {"IPAMincho", "IPAexMincho", "Noto Serif CJK JP"});
  QFont::insertSubstitutions("ＭＳ Ｐゴシック", {"IPAPGothic", "IPAGothic", "Noto Sans CJK JP"});
  QFont::insertSubstitutions("MS UI Gothic", {"IPAPGothic", "IPAGothic", "Noto Sans CJK JP"});
}

void InstallAppIcon() {
  QIcon icon;
  icon.addFile(":/icons/icon/zoduzazu-32.png", QSize(32, 32));
  icon.addFile(":/icons/icon/zoduzazu-16.png", QSize(16, 16));
  QGuiApplication::setWindowIcon(icon);
}

}  // namespace zdz::qt
