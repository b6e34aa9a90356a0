'''A ModemManager stand-in for the phone library's tests.

The manager object lists one modem. Parameters (JSON on the command line):
  voice        the modem has the Voice interface (default true)
  refuse       CreateCall answers with an authorisation error (default false)
Every call created gets a Call object whose Start succeeds.
'''

import dbus

from dbusmock.mockobject import objects

SYSTEM_BUS = True
BUS_NAME = 'org.freedesktop.ModemManager1'
MAIN_OBJ = '/org/freedesktop/ModemManager1'
IS_OBJECT_MANAGER = True

MODEM = '/org/freedesktop/ModemManager1/Modem/0'
MODEM_IFACE = 'org.freedesktop.ModemManager1.Modem'
VOICE_IFACE = 'org.freedesktop.ModemManager1.Modem.Voice'
CALL_IFACE = 'org.freedesktop.ModemManager1.Call'


def load(mock, parameters):
    mock.AddObject(MODEM, MODEM_IFACE, {'State': dbus.Int32(11)}, [])
    if not parameters.get('voice', True):
        return
    modem = objects[MODEM]
    modem.AddProperties(VOICE_IFACE, {'Calls': dbus.Array([], signature='o')})
    refuse = bool(parameters.get('refuse', False))
    code = (
        "if %s:\n"
        "    raise dbus.exceptions.DBusException('not allowed',"
        " name='org.freedesktop.ModemManager1.Error.Core.Unauthorized')\n"
        "path = '/org/freedesktop/ModemManager1/Call/%%d' %% len(objects)\n"
        "self.AddObject(path, '%s', {'Number': args[0]['Number']},"
        " [('Start', '', '', '')])\n"
        "ret = dbus.ObjectPath(path)\n" % (refuse, CALL_IFACE))
    modem.AddMethods(VOICE_IFACE, [('CreateCall', 'a{sv}', 'o', code)])
