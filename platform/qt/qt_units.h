#pragma once
// Twips, colours and fonts of the forms, in Qt's terms.

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QString>

#include <string>

#include "platform/form_layout.h"

namespace zdz::qt {

// 1440 / logical dpi: 15 at 96 dpi.
double TwipsPerPixel();
int ToPixels(int twips);

inline QString Q(const std::string& s) { return QString::fromStdString(s); }
inline std::string S(const QString& s) { return s.toStdString(); }

// kDefaultColor gives an invalid colour: leave the palette alone.
QColor ToQColor(Color color);

QFont ToQFont(const FontSpec& spec, const QFont& fallback);

// The Windows faces the forms name, mapped to the installed Japanese faces so that digits and
// Latin letters come from the same face as kana and kanji; and the Japanese UI face as the
// application's font, the menus' and dialogs'.
void InstallFonts();

// The alarm-clock icon, 32 and 16 pixels, as every window's icon.
void InstallAppIcon();

// The alarm-clock icon at every size the package installs, 16 to 256 pixels, so that a tray
// at any scale picks an image drawn for it rather than stretching a small one.
QIcon TrayIcon();

}  // namespace zdz::qt
