# SPDX-License-Identifier: GPL-3.0-or-later
'''A desktop portal with global shortcuts, as a python3-dbusmock template.

Parameters:
  shortcuts (bool, true): the GlobalShortcuts interface is offered
  registry (bool, true): the host registry takes app ids
  bind_response (uint, 0): the Response code of BindShortcuts (1: the user cancelled)

Each request is answered by the Response signal of its request object just after the
method's reply, as real portals do. BindShortcuts binds what it is asked for, describing each
trigger as "Bound " + the preferred trigger. The test drives the desktop side through the
mock interface: Press(id) emits Activated for the latest session, Change(id, text) emits
ShortcutsChanged with a new description of its trigger.
'''
import dbus
import dbus.lowlevel
from dbusmock import MOCK_IFACE
from gi.repository import GLib

BUS_NAME = 'org.freedesktop.portal.Desktop'
MAIN_OBJ = '/org/freedesktop/portal/desktop'
MAIN_IFACE = 'org.freedesktop.portal.GlobalShortcuts'
SYSTEM_BUS = False
REQUEST_IFACE = 'org.freedesktop.portal.Request'


def load(mock, parameters):
    mock.bind_response = int(parameters.get('bind_response', 0))
    mock.sessions = []
    mock.bound = {}
    if parameters.get('shortcuts', True):
        mock.AddProperties(MAIN_IFACE, {'version': dbus.UInt32(1, variant_level=1)})
    if parameters.get('registry', True):
        mock.AddMethod('org.freedesktop.host.portal.Registry', 'Register', 'sa{sv}', '', '')


def emit(mock, path, interface, name, signature, *args):
    message = dbus.lowlevel.SignalMessage(path, interface, name)
    message.append(*args, signature=signature)
    for location in mock.locations:
        location[0].send_message(message)


def request_path(sender, token):
    return MAIN_OBJ + '/request/' + sender[1:].replace('.', '_') + '/' + token


def respond_later(mock, path, code, results):
    def respond():
        emit(mock, path, REQUEST_IFACE, 'Response', 'ua{sv}', dbus.UInt32(code),
             dbus.Dictionary(results, signature='sv'))
        return False
    GLib.timeout_add(10, respond)


def shortcut_list(bound):
    return dbus.Array([dbus.Struct((i, dbus.Dictionary({'description': d, 'trigger_description': t},
                                                       signature='sv')), signature='sa{sv}')
                       for i, (d, t) in bound.items()], signature='(sa{sv})')


@dbus.service.method(MAIN_IFACE, in_signature='a{sv}', out_signature='o', sender_keyword='sender')
def CreateSession(self, options, sender=None):
    path = request_path(sender, str(options['handle_token']))
    session = MAIN_OBJ + '/session/' + sender[1:].replace('.', '_') + '/' + \
        str(options['session_handle_token'])
    self.sessions.append(session)
    respond_later(self, path, 0, {'session_handle': dbus.String(session)})
    return dbus.ObjectPath(path)


@dbus.service.method(MAIN_IFACE, in_signature='oa(sa{sv})sa{sv}', out_signature='o',
                     sender_keyword='sender')
def BindShortcuts(self, session, shortcuts, parent_window, options, sender=None):
    path = request_path(sender, str(options['handle_token']))
    results = {}
    if self.bind_response == 0:
        self.bound = {str(i): (str(p['description']), 'Bound ' + str(p.get('preferred_trigger', '')))
                      for i, p in shortcuts}
        results['shortcuts'] = shortcut_list(self.bound)
    respond_later(self, path, self.bind_response, results)
    return dbus.ObjectPath(path)


@dbus.service.method(MOCK_IFACE, in_signature='s', out_signature='')
def Press(self, shortcut_id):
    emit(self, MAIN_OBJ, MAIN_IFACE, 'Activated', 'osta{sv}', dbus.ObjectPath(self.sessions[-1]),
         shortcut_id, dbus.UInt64(0), dbus.Dictionary({}, signature='sv'))


@dbus.service.method(MOCK_IFACE, in_signature='ss', out_signature='')
def Change(self, shortcut_id, trigger):
    self.bound[shortcut_id] = (self.bound[shortcut_id][0], trigger)
    emit(self, MAIN_OBJ, MAIN_IFACE, 'ShortcutsChanged', 'oa(sa{sv})',
         dbus.ObjectPath(self.sessions[-1]), shortcut_list(self.bound))
