#include "platform/qt/tray_hosts.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace zdz::qt {

namespace {

constexpr int kBusTimeoutMs = 500;

// The screen part of DISPLAY (":0.1" is screen 1); Qt's xcb connection uses the same default.
int DefaultScreen() {
  const QString display = qEnvironmentVariable("DISPLAY");
  const int dot = display.lastIndexOf('.');
  if (dot < 0 || dot < display.lastIndexOf(':')) return 0;
  return display.mid(dot + 1).toInt();
}

xcb_atom_t TraySelection(xcb_connection_t* c) {
  static xcb_atom_t atom = XCB_ATOM_NONE;
  if (atom != XCB_ATOM_NONE) return atom;
  const QByteArray name = "_NET_SYSTEM_TRAY_S" + QByteArray::number(DefaultScreen());
  std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, name.size(), name.constData()), nullptr),
      &std::free);
  if (reply) atom = reply->atom;
  return atom;
}

}  // namespace

QString XEmbedHost() {
  const auto* x11 =
      qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  xcb_connection_t* c = x11 ? x11->connection() : nullptr;
  if (!c) return {};
  const xcb_atom_t selection = TraySelection(c);
  if (selection == XCB_ATOM_NONE) return {};
  std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> reply(
      xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr), &std::free);
  if (!reply || reply->owner == XCB_WINDOW_NONE) return {};
  return "x11:" + QString::number(reply->owner);
}

QString StatusNotifierHost() {
  static const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return {};
  const QDBusReply<QString> owner = bus.interface()->serviceOwner(kWatcher);
  if (!owner.isValid()) return {};
  QDBusMessage get = QDBusMessage::createMethodCall(
      owner.value(), QStringLiteral("/StatusNotifierWatcher"),
      QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
  get << kWatcher << QStringLiteral("IsStatusNotifierHostRegistered");
  const QDBusMessage answer = bus.call(get, QDBus::Block, kBusTimeoutMs);
  if (answer.type() != QDBusMessage::ReplyMessage || answer.arguments().isEmpty()) return {};
  const bool host = qvariant_cast<QDBusVariant>(answer.arguments().first()).variant().toBool();
  return host ? "sni:" + owner.value() : QString();
}

}  // namespace zdz::qt
