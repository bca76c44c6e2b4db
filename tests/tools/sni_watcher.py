#!/usr/bin/python3
"""A StatusNotifierWatcher for the tests, on the session bus, and a client for its items.

  sni_watcher.py serve [--no-host]   own org.kde.StatusNotifierWatcher until killed; with
                                     --no-host it says no tray host is registered
  sni_watcher.py items               print the registered items, one "SERVICE/PATH" a line
  sni_watcher.py show                print the first item's properties, one "Name: value" a line
  sni_watcher.py call METHOD [X Y]   call Activate, ContextMenu or SecondaryActivate on it

Qt's tray icon takes the D-Bus tray only from a watcher that reports a registered host in its
properties and introspection data, so both are answered in full here.
"""
import glob
import os
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop

WATCHER = "org.kde.StatusNotifierWatcher"
WATCHER_PATH = "/StatusNotifierWatcher"
ITEM = "org.kde.StatusNotifierItem"
PROPS = "org.freedesktop.DBus.Properties"

INTROSPECTION = """<!DOCTYPE node PUBLIC "-//freedesktop//DTD D-BUS Object Introspection 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/introspect.dtd">
<node>
  <interface name="org.freedesktop.DBus.Introspectable">
    <method name="Introspect"><arg direction="out" type="s"/></method>
  </interface>
  <interface name="org.freedesktop.DBus.Properties">
    <method name="Get">
      <arg direction="in" type="s"/><arg direction="in" type="s"/>
      <arg direction="out" type="v"/>
    </method>
    <method name="GetAll">
      <arg direction="in" type="s"/><arg direction="out" type="a{sv}"/>
    </method>
  </interface>
  <interface name="org.kde.StatusNotifierWatcher">
    <method name="RegisterStatusNotifierItem"><arg direction="in" type="s"/></method>
    <method name="RegisterStatusNotifierHost"><arg direction="in" type="s"/></method>
    <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
    <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
    <property name="ProtocolVersion" type="i" access="read"/>
    <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
    <signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
    <signal name="StatusNotifierHostRegistered"/>
    <signal name="StatusNotifierHostUnregistered"/>
  </interface>
</node>
"""


class Watcher(dbus.service.Object):
    def __init__(self, bus, host):
        super().__init__(bus, WATCHER_PATH)
        self.bus = bus
        self.host = host
        self.items = []
        bus.add_signal_receiver(self.owner_changed, "NameOwnerChanged",
                                "org.freedesktop.DBus", "org.freedesktop.DBus")

    def props(self):
        return {
            "RegisteredStatusNotifierItems": dbus.Array(self.items, signature="s"),
            "IsStatusNotifierHostRegistered": dbus.Boolean(self.host),
            "ProtocolVersion": dbus.Int32(0),
        }

    @dbus.service.method("org.freedesktop.DBus.Introspectable", out_signature="s")
    def Introspect(self):
        return INTROSPECTION

    @dbus.service.method(PROPS, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        return self.props()[name]

    @dbus.service.method(PROPS, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        return self.props() if interface == WATCHER else {}

    @dbus.service.method(WATCHER, in_signature="s", sender_keyword="sender")
    def RegisterStatusNotifierItem(self, service, sender=None):
        # An item names its bus name (its object at /StatusNotifierItem) or its object path.
        item = sender + service if service.startswith("/") else service + "/StatusNotifierItem"
        if item not in self.items:
            self.items.append(item)
            print("registered", item, flush=True)
            self.StatusNotifierItemRegistered(item)

    @dbus.service.method(WATCHER, in_signature="s")
    def RegisterStatusNotifierHost(self, service):
        self.host = True
        self.StatusNotifierHostRegistered()

    @dbus.service.signal(WATCHER, signature="s")
    def StatusNotifierItemRegistered(self, item):
        pass

    @dbus.service.signal(WATCHER, signature="s")
    def StatusNotifierItemUnregistered(self, item):
        pass

    @dbus.service.signal(WATCHER)
    def StatusNotifierHostRegistered(self):
        pass

    @dbus.service.signal(WATCHER)
    def StatusNotifierHostUnregistered(self):
        pass

    def owner_changed(self, name, old, new):
        if new:
            return
        for item in [i for i in self.items if i.split("/", 1)[0] == name]:
            self.items.remove(item)
            print("unregistered", item, flush=True)
            self.StatusNotifierItemUnregistered(item)


def serve(host):
    from gi.repository import GLib

    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    Watcher(bus, host)
    # Owned only once the object answers, so a client never finds a half-made watcher.
    name = dbus.service.BusName(WATCHER, bus, do_not_queue=True)
    print("watcher", name.get_name(), "host" if host else "no host", flush=True)
    GLib.MainLoop().run()


def registered(bus):
    watcher = bus.get_object(WATCHER, WATCHER_PATH)
    return [str(i) for i in watcher.Get(WATCHER, "RegisteredStatusNotifierItems",
                                        dbus_interface=PROPS)]


def first_item(bus):
    items = registered(bus)
    if not items:
        sys.exit("no item registered")
    service, path = items[0].split("/", 1)
    return bus.get_object(service, "/" + path)


def describe(name, value):
    if name == "ToolTip":  # (icon name, icon pixmaps, title, text)
        return "title=%r text=%r pixmaps=%d" % (str(value[2]), str(value[3]), len(value[1]))
    if name.endswith("Pixmap"):  # [(width, height, ARGB bytes)]
        return " ".join("%dx%d(%d bytes)" % (w, h, len(data)) for w, h, data in value) or "none"
    if isinstance(value, dbus.String):
        return repr(str(value))
    return str(value)


def theme_sizes(name):
    """The sizes of `name` in the hicolor theme, as a host would look for it."""
    if not name:
        return []
    found = set()
    for root in os.environ.get("XDG_DATA_DIRS", "/usr/local/share:/usr/share").split(":"):
        for path in glob.glob(os.path.join(root, "icons/hicolor/*/apps", name + ".png")):
            found.add(path.split("/")[-3])
    return sorted(found, key=lambda s: int(s.split("x")[0]))


def main(argv):
    command = argv[1] if len(argv) > 1 else ""
    if command == "serve":
        serve("--no-host" not in argv[2:])
    elif command == "items":
        print("\n".join(registered(dbus.SessionBus())))
    elif command == "show":
        props = first_item(dbus.SessionBus()).GetAll(ITEM, dbus_interface=PROPS)
        for name in sorted(props):
            print("%s: %s" % (name, describe(name, props[name])))
        print("IconTheme: %s" % " ".join(theme_sizes(str(props.get("IconName", "")))))
    elif command == "call" and len(argv) in (3, 5):
        args = [dbus.Int32(int(a)) for a in argv[3:]]
        getattr(first_item(dbus.SessionBus()), argv[2])(*args, dbus_interface=ITEM)
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
