#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A stand-in for systemd-logind's sleep part on a private bus: hands out "delay" locks
for sleep, emits PrepareForSleep when the test asks, and logs in order each lock taken and
each lock released, with the notes' text in the data file at the moment of the release.

Usage: fake_logind.py BUS_ADDRESS LOG_FILE DATA_FILE
Test control: method Sleep(b) of interface plumora.test.FakeLogind emits PrepareForSleep(b).
"""
import os
import sqlite3
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

MANAGER = "org.freedesktop.login1.Manager"
CONTROL = "plumora.test.FakeLogind"
address, log_path, data_file = sys.argv[1:4]


def log(line):
    with open(log_path, "a") as f:
        f.write(line + "\n")


def notes_text():
    try:
        db = sqlite3.connect(data_file)
        rows = db.execute("SELECT coalesce(Content, '') FROM QNotes").fetchall()
        db.close()
        return " ".join(r[0].replace("\n", " ") for r in rows)
    except sqlite3.Error as e:
        return "unreadable: %s" % e


class Manager(dbus.service.Object):
    @dbus.service.method(MANAGER, in_signature="ssss", out_signature="h")
    def Inhibit(self, what, who, why, mode):
        read_end, write_end = os.pipe()
        lock = dbus.types.UnixFd(write_end)  # holds its own copy
        os.close(write_end)

        def released(fd, condition):
            log("released: " + notes_text())
            os.close(fd)
            return False

        GLib.io_add_watch(read_end, GLib.IO_HUP | GLib.IO_ERR, released)
        log("inhibit %s %s %s" % (what, who, mode))
        return lock

    @dbus.service.signal(MANAGER, signature="b")
    def PrepareForSleep(self, start):
        log("prepare-for-sleep %s" % ("true" if start else "false"))

    @dbus.service.method(CONTROL, in_signature="b")
    def Sleep(self, start):
        self.PrepareForSleep(start)


DBusGMainLoop(set_as_default=True)
bus = dbus.bus.BusConnection(address)
name = dbus.service.BusName("org.freedesktop.login1", bus)
Manager(bus, "/org/freedesktop/login1")
log("ready")
GLib.MainLoop().run()
