#include "platform/qt/qt_units.h"

#include <QGuiApplication>
#include <QIcon>
#include <QIconEngine>
#include <QImageReader>
#include <QPalette>
#include <QPixmap>
#include <QScreen>
#include <QStandardPaths>

#include <cmath>
#include <initializer_list>
#include <utility>

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
  // Not the UI face's hinting: the digits' widths were laid out with the desktop's.
  font.setHintingPreference(QFont::PreferDefaultHinting);
  return font;
}

void InstallFonts() {
  QFont::insertSubstitutions("ＭＳ 明朝", {"IPAMincho", "IPAexMincho", "Noto Serif CJK JP"});
  QFont::insertSubstitutions("ＭＳ Ｐゴシック", {"IPAPGothic", "IPAGothic", "Noto Sans CJK JP"});
  QFont::insertSubstitutions("MS UI Gothic", {"IPAPGothic", "IPAGothic", "Noto Sans CJK JP"});
  // A Japanese face named outright gives kanji their Japanese forms whatever the locale, with no
  // search for a fallback. The face's own hinting, not the light hinting the desktop may ask
  // for: that runs FreeType's auto-hinter, whose CJK set-up reads a hundred sample glyphs
  // scattered over the 6 MB file, 1.3 MB of it kept mapped all day, for the menu bar's text.
  QFont ui = QGuiApplication::font();
  ui.setFamilies({QStringLiteral("MS UI Gothic")});
  ui.setHintingPreference(QFont::PreferFullHinting);
  QGuiApplication::setFont(ui);
}

namespace {

QIcon IconOfSizes(std::initializer_list<int> sizes) {
  // A reader told the format and forbidden to guess: asking QIcon to load a file probes the
  // content with every image plug-in installed, which loads them all for the whole day.
  QIcon icon;
  for (int size : sizes) {
    QImageReader reader(QStringLiteral(":/icons/icon/zoduzazu-%1.png").arg(size), "png");
    reader.setAutoDetectImageFormat(false);
    icon.addPixmap(QPixmap::fromImage(reader.read()));
  }
  return icon;
}

// Our pictures under the icon theme's name. A D-Bus tray receives pictures of at most 64 px
// from Qt; with the name, its host draws the installed theme's file of any size instead.
class NamedIcon : public QIconEngine {
 public:
  NamedIcon(QIcon pictures, QString name)
      : pictures_(std::move(pictures)), name_(std::move(name)) {}
  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    pictures_.paint(painter, rect, Qt::AlignCenter, mode, state);
  }
  QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return pictures_.actualSize(size, mode, state);
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return pictures_.pixmap(size, mode, state);
  }
  QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
    return pictures_.availableSizes(mode, state);
  }
  QString iconName() override { return name_; }
  QIconEngine* clone() const override { return new NamedIcon(pictures_, name_); }

 private:
  QIcon pictures_;
  QString name_;
};

}  // namespace

void InstallAppIcon() { QGuiApplication::setWindowIcon(IconOfSizes({32, 16})); }

QIcon TrayIcon() {
  QIcon pictures = IconOfSizes({16, 24, 32, 48, 64, 128, 256});
  // Named only where the theme holds it, as the package installs it: a host that found no
  // file under the name could show nothing.
  static const bool installed =
      !QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                              QStringLiteral("icons/hicolor/256x256/apps/zoduzazu.png"))
           .isEmpty();
  if (!installed) return pictures;
  return QIcon(new NamedIcon(std::move(pictures), QStringLiteral("zoduzazu")));
}

}  // namespace zdz::qt
