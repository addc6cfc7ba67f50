"""What the program shows away from its bar: the countdown beside the pointer and the
tray icon with its menu, both used the way a dwelling user does."""
from Xlib import X
from Xlib.ext import shape
from harness import ELSEWHERE, SETTINGS, ProgramTestCase, wait_until


class PointerFeedbackTest(ProgramTestCase):
    def test_the_countdown_beside_the_resting_pointer_takes_no_input_and_goes_with_the_click(self):
        self.sandbox.write_settings(SETTINGS.replace("\r\n5\r\n", "\r\n20\r\n", 1))  # 2 s
        self.start_parked()
        self.monitor.clear()
        x, y = self.recorder.centre
        self.x.move(x, y)
        ring = wait_until(self.countdown, 5)
        self.assertTrue(ring, "no countdown beside the pointer\n" + self.windows())
        self.assertLess(max(abs(ring.rect.x - x), abs(ring.rect.y - y)), 3 * ring.rect.w)
        # Nothing can land on it: its input area is empty, and no window manager holds it.
        window = self.x.d.create_resource_object("window", ring.id)
        self.assertEqual(window.shape_get_rectangles(shape.SK.Input).rectangles, [])
        self.assertTrue(window.get_attributes().override_redirect)
        # The click lands where the pointer rests, and the countdown goes with it.
        self.assertTrue(wait_until(lambda: (1, False, (x, y)) in self.monitor.events(), 5))
        self.assertTrue(wait_until(lambda: not self.countdown(), 3), self.windows())

    def test_the_tray_icon_and_its_menu_act_on_rests_without_a_click_even_while_paused(self):
        self.start_parked()
        icon = self.tray_icon()  # a panel that starts after the program, as at logon
        before, places = self.x.grab(icon), [icon]
        self.monitor.clear()
        menu = self.open_tray_menu(icon)  # its first item pauses, saved as the bar's pause is
        places.append(menu.rect)
        # The open menu takes the keyboard from no one: what the user types goes on.
        self.assertEqual(self.x.root.grab_keyboard(False, X.GrabModeAsync, X.GrabModeAsync,
                                                   X.CurrentTime), X.GrabSuccess)
        self.x.d.ungrab_keyboard(X.CurrentTime)
        self.x.d.sync()
        self.x.move(menu.rect.centre[0], menu.rect.y + 12)
        self.wait_settings_line(8, "1")
        self.assertTrue(wait_until(lambda: self.x.grab(icon) != before, 5), "icon unchanged")
        self.x.move(ELSEWHERE)
        # Paused, a rest opens the menu all the same; its last item asks whether to exit, as
        # the bar's exit button does.
        places.append(self.open_tray_menu(icon, -1).rect)
        self.wait_window("Exit the program")
        # Neither the icon nor its menu ever had a click from the program.
        self.assertEqual([e for e in self.monitor.events() for r in places
                          if r.x <= e[2][0] < r.x + r.w and r.y <= e[2][1] < r.y + r.h], [])
