#pragma once
// Finds the notification-area hosts a QSystemTrayIcon can use, without asking Qt: Qt settles on
// the D-Bus tray or XEmbed the first time it is asked, so asking it early would lock it to
// whatever was there when the program started.

#include <QString>

namespace zdz::qt {

// The XEmbed tray: the owner of the selection _NET_SYSTEM_TRAY_S<screen>, as "x11:<window id>";
// empty when there is none or the display is not an X server.
QString XEmbedHost();

// The StatusNotifierItem tray: the session-bus owner of org.kde.StatusNotifierWatcher, as
// "sni:<unique name>", but only while the watcher says a host is registered (Qt uses the D-Bus
// tray only then); empty otherwise.
QString StatusNotifierHost();

}  // namespace zdz::qt
