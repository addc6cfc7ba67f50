"""The program on KWin's desktop as Plasma sets one up at 200 %: two outputs side by side at
scale 2, the X clients scaling themselves (Plasma's default), so that Xwayland's pixels are twice
KWin's logical ones."""
import threading, time
from gi.repository import Gio, GLib
from harness import BAR_HEIGHT, BAR_WIDTH, LEFT, SETTINGS, wait_until
from kwin_harness import KWinTestCase

WATCHER = Gio.DBusNodeInfo.new_for_xml(
    '<node><interface name="org.kde.StatusNotifierWatcher"><method name="RegisterStatusNotifier'
    'Item"><arg type="s"/></method><property name="IsStatusNotifierHostRegistered" type="b" '
    'access="read"/></interface></node>').interfaces[0]


class Panel:
    """Plasma's panel as a status notifier item sees it: a watcher whose host is up; .items the
    bus names of the items registered with it."""

    def __init__(self, address):
        flags, self.items = Gio.DBusConnectionFlags, []
        self.bus = Gio.DBusConnection.new_for_address_sync(
            address, flags.AUTHENTICATION_CLIENT | flags.MESSAGE_BUS_CONNECTION, None, None)
        self.bus.register_object("/StatusNotifierWatcher", WATCHER, self._call,
                                 lambda *_: GLib.Variant("b", True), None)
        self.bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                           "RequestName", GLib.Variant("(su)", (WATCHER.name, 4)), None, 0, -1,
                           None)
        self.loop = GLib.MainLoop()
        threading.Thread(target=self.loop.run, daemon=True).start()

    def _call(self, bus, sender, path, interface, method, args, invocation):
        self.items.append(args[0])
        invocation.return_value(None)

    def close(self):
        self.loop.quit()
        self.bus.close_sync(None)


class KWinScaledOutputsTest(KWinTestCase):
    SIZE, SCALE, OUTPUTS, bar_width = (1280, 1024), 2, 2, 2 * BAR_WIDTH

    def test_a_rest_clicks_and_the_bar_shows_twice_as_large_at_both_outer_edges(self):
        self.sandbox.write_settings(SETTINGS.replace("\r\n0\r\n3\r\n", "\r\n1\r\n3\r\n"))
        self.start_parked()  # the right edge calls up the bar too
        self.assertEqual(self.rest_at(self.recorder.centre, 2), LEFT)
        right = 2 * 2 * 1280 - 1  # in Xwayland's pixels
        for x, left in ((right, right + 1 - self.bar_width), (0, 0)):
            self.x.move(x, 1024)
            shown = wait_until(lambda: (b := self.bar()) and b.viewable and b.rect.x == left, 10)
            self.assertTrue(shown, f"no bar at {left}\n" + self.windows())
            self.assertEqual(self.bar().rect[2:], (self.bar_width, 2 * BAR_HEIGHT))

    def test_the_tray_icon_registers_with_plasmas_panel_and_a_click_opens_its_menu_there(self):
        self.own(panel=Panel(self.session.env["DBUS_SESSION_BUS_ADDRESS"]))
        self.start_parked()
        self.assertTrue(wait_until(lambda: self.panel.items, 10), "no status notifier item")
        self.x.move(4000, 600)  # onto the panel's icon, off every X window
        time.sleep(0.3)
        self.bus_call(self.panel.items[0], "/StatusNotifierItem",  # as the panel asks on a click
                      "org.kde.StatusNotifierItem.Activate", "int32:2000", "int32:300")
        menu = wait_until(lambda: self.x.first(lambda w: w.pid == self.bar_pid and w.viewable
                                               and w.rect.h > 150), 10)
        self.assertEqual(menu and menu.rect[:2], (4000, 600), self.windows())
