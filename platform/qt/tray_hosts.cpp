#include "platform/qt/tray_hosts.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace zdz::qt {

namespace {

constexpr int kBusTimeoutMs = 500;
// A panel's host registers a moment after its watcher appears, and an X selection is cleared
// as its window goes: look again once things have settled.
constexpr int kSettleMs = 200;

const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");

xcb_connection_t* X11Connection() {
  const auto* x11 =
      qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return x11 ? x11->connection() : nullptr;
}

using Free = decltype(&std::free);

// The screen part of DISPLAY (":0.1" is screen 1); Qt's xcb connection uses the same default.
int DefaultScreen() {
  const QString display = qEnvironmentVariable("DISPLAY");
  const int dot = display.lastIndexOf('.');
  if (dot < 0 || dot < display.lastIndexOf(':')) return 0;
  return display.mid(dot + 1).toInt();
}

xcb_atom_t Atom(xcb_connection_t* c, const QByteArray& name) {
  std::unique_ptr<xcb_intern_atom_reply_t, Free> reply(
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, name.size(), name.constData()), nullptr),
      &std::free);
  return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

xcb_atom_t TraySelection(xcb_connection_t* c) {
  static const xcb_atom_t atom =
      Atom(c, "_NET_SYSTEM_TRAY_S" + QByteArray::number(DefaultScreen()));
  return atom;
}

// Adds structure events of `window` to what this client already hears from it (Qt's own tray
// code listens to the same windows on the same connection).
void HearStructure(xcb_connection_t* c, xcb_window_t window) {
  std::unique_ptr<xcb_get_window_attributes_reply_t, Free> now(
      xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr),
      &std::free);
  if (!now) return;
  const std::uint32_t mask = now->your_event_mask | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
  xcb_change_window_attributes(c, window, XCB_CW_EVENT_MASK, &mask);
  xcb_flush(c);
}

xcb_window_t RootWindow(xcb_connection_t* c) {
  xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
  for (int i = DefaultScreen(); i > 0 && it.rem; --i) xcb_screen_next(&it);
  return it.rem ? it.data->root : xcb_window_t{XCB_WINDOW_NONE};
}

}  // namespace

QString XEmbedHost() {
  xcb_connection_t* c = X11Connection();
  if (!c) return {};
  const xcb_atom_t selection = TraySelection(c);
  if (selection == XCB_ATOM_NONE) return {};
  std::unique_ptr<xcb_get_selection_owner_reply_t, Free> reply(
      xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr), &std::free);
  if (!reply || reply->owner == XCB_WINDOW_NONE) return {};
  return "x11:" + QString::number(reply->owner);
}

QString StatusNotifierHost() {
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

TrayHostWatch::TrayHostWatch(std::function<void()> changed) {
  recheck_.setSingleShot(true);
  recheck_.setInterval(kSettleMs);
  QObject::connect(&recheck_, &QTimer::timeout, std::move(changed));

  QDBusConnection bus = QDBusConnection::sessionBus();
  if (bus.isConnected()) {
    watcher_ = std::make_unique<QDBusServiceWatcher>(kWatcher, bus,
                                                     QDBusServiceWatcher::WatchForOwnerChange);
    QObject::connect(watcher_.get(), &QDBusServiceWatcher::serviceOwnerChanged, &recheck_,
                     qOverload<>(&QTimer::start));
    for (const char* signal : {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"})
      bus.connect(QString(), QStringLiteral("/StatusNotifierWatcher"), kWatcher,
                  QString::fromLatin1(signal), &recheck_, SLOT(start()));
  }

  if (xcb_connection_t* c = X11Connection()) {
    // A new manager announces itself to the root window's structure listeners.
    managerAtom_ = Atom(c, "MANAGER");
    selection_ = TraySelection(c);
    if (const xcb_window_t root = RootWindow(c); root != XCB_WINDOW_NONE) HearStructure(c, root);
    QCoreApplication::instance()->installNativeEventFilter(this);
  }
}

TrayHostWatch::~TrayHostWatch() {
  if (QCoreApplication* app = QCoreApplication::instance()) app->removeNativeEventFilter(this);
}

void TrayHostWatch::Follow(const QString& host) {
  xcb_connection_t* c = X11Connection();
  if (!c || !host.startsWith("x11:")) return;
  const auto window = static_cast<std::uint32_t>(host.mid(4).toULong());
  if (window == followed_) return;
  followed_ = window;
  HearStructure(c, window);
}

bool TrayHostWatch::nativeEventFilter(const QByteArray& type, void* message, qintptr*) {
  if (type != "xcb_generic_event_t") return false;
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  switch (event->response_type & 0x7f) {
    case XCB_CLIENT_MESSAGE: {
      const auto* m = static_cast<const xcb_client_message_event_t*>(message);
      if (m->type == managerAtom_ && m->format == 32 && m->data.data32[1] == selection_)
        recheck_.start();
      break;
    }
    case XCB_DESTROY_NOTIFY:
      if (static_cast<const xcb_destroy_notify_event_t*>(message)->window == followed_)
        recheck_.start();
      break;
  }
  return false;  // Qt's own tray code hears the same events
}

}  // namespace zdz::qt
