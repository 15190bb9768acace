#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# A tray host reduced to its D-Bus side: it owns the status notifier watcher, says a host is
# there, and writes the bus name of each item that registers to ITEMS_FILE, one a line.
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

items_file = sys.argv[1]
SERVICE = "org.kde.StatusNotifierWatcher"
items = []


class Watcher(dbus.service.Object):
    @dbus.service.method(SERVICE, in_signature="s", sender_keyword="sender")
    def RegisterStatusNotifierItem(self, service, sender=None):
        # An item may give its object path instead of its name: then the caller is the item.
        name = sender if service.startswith("/") else service
        items.append(name)
        with open(items_file, "a") as f:
            f.write(name + "\n")
        self.StatusNotifierItemRegistered(name)

    @dbus.service.method(SERVICE, in_signature="s")
    def RegisterStatusNotifierHost(self, service):
        pass

    @dbus.service.signal(SERVICE, signature="s")
    def StatusNotifierItemRegistered(self, service):
        pass

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        return self.GetAll(interface)[name]

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        return {
            "RegisteredStatusNotifierItems": dbus.Array(items, signature="s"),
            "IsStatusNotifierHostRegistered": dbus.Boolean(True),
            "ProtocolVersion": dbus.Int32(0),
        }


dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
watcher = Watcher(bus, "/StatusNotifierWatcher")
name = dbus.service.BusName(SERVICE, bus)
GLib.MainLoop().run()
