#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# A stand-in for the online accounts service on the session bus: one mail account that signs
# in with OAuth2. Its access token is "stale-token" until EnsureCredentials is called, then
# "fresh-token". Each call is written to CALLS_FILE, one name a line.
# fake_goa.py CALLS_FILE IMAP_HOST USER
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

calls_file, imap_host, user = sys.argv[1:4]
SERVICE = "org.gnome.OnlineAccounts"
ACCOUNT = "/org/gnome/OnlineAccounts/Accounts/account_1700000000_0"
renewed = False


def called(name):
    with open(calls_file, "a") as f:
        f.write(name + "\n")


class Manager(dbus.service.Object):
    @dbus.service.method("org.freedesktop.DBus.ObjectManager", out_signature="a{oa{sa{sv}}}")
    def GetManagedObjects(self):
        return {
            dbus.ObjectPath(ACCOUNT): {
                "org.gnome.OnlineAccounts.Account": {
                    "Id": "account_1700000000_0",
                    "ProviderType": "ms_graph",
                    "PresentationIdentity": user + "@example.org",
                    "MailDisabled": dbus.Boolean(False),
                },
                "org.gnome.OnlineAccounts.Mail": {
                    "EmailAddress": user + "@example.org",
                    "ImapHost": imap_host,
                    "ImapUserName": user,
                    "ImapUseSsl": dbus.Boolean(True),
                    "ImapUseTls": dbus.Boolean(False),
                },
                "org.gnome.OnlineAccounts.OAuth2Based": {"ClientId": "test"},
            }
        }


class Account(dbus.service.Object):
    @dbus.service.method("org.gnome.OnlineAccounts.OAuth2Based", out_signature="si")
    def GetAccessToken(self):
        called("GetAccessToken")
        return ("fresh-token" if renewed else "stale-token", 3600)

    @dbus.service.method("org.gnome.OnlineAccounts.Account", out_signature="i")
    def EnsureCredentials(self):
        global renewed
        called("EnsureCredentials")
        renewed = True
        return 3600


dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
Manager(bus, "/org/gnome/OnlineAccounts")
Account(bus, ACCOUNT)
name = dbus.service.BusName(SERVICE, bus)
GLib.MainLoop().run()
