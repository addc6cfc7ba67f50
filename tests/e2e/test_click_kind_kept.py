"""The click kind the user chose comes back after each window that forces the left click while
it shows: the exit question answered No (opened from the bar and from the tray) and the options
closed by OK or by Cancel, all used by resting alone. After each, a rest clicks with that kind."""
import time
from harness import (ELSEWHERE, EXIT_SIZE, LEFT, Button, ProgramTestCase, press, release,
                     wait_until)

NO, OK, CANCEL = (236, 109), (428, 369), (510, 369)  # from the window's top-left corner
DOUBLE, RIGHT = LEFT * 2, [press(3), release(3)]


class ClickKindKeptTest(ProgramTestCase):
    def assert_rest_clicks(self, events, after):
        self.assertEqual(self.rest_at(self.recorder.centre, len(events)), events, after)

    def test_no_ok_cancel_and_the_trays_exit_give_back_the_chosen_kind(self):
        self.start_parked()
        icon = self.tray_icon()

        self.choose(Button.DOUBLE)
        self.answer(self.open_from_bar(Button.EXIT), NO)
        self.assert_rest_clicks(DOUBLE, "after No in the exit question")
        for closer, name in ((OK, "OK"), (CANCEL, "Cancel")):
            self.answer(self.open_from_bar(Button.OPTIONS), closer)
            self.assert_rest_clicks(DOUBLE, f"after the options window's {name}")
            self.assertEqual(self.settings_line(8), "2", f"{name} saved another kind")

        # From the tray, with right click: its rest opens the menu as the icon's context menu.
        self.choose(Button.RIGHT)
        self.x.move(ELSEWHERE)
        time.sleep(0.3)  # the tray icon takes the kind on the next tick
        right_icon = self.x.grab(icon)
        self.open_tray_menu(icon, -1)  # Exit
        self.answer(self.wait_window(size=EXIT_SIZE), NO)
        self.assert_rest_clicks(RIGHT, "after the tray's Exit, then No")
        self.assertTrue(wait_until(lambda: self.x.grab(icon) == right_icon, 5),
                        "the tray icon shows another kind")
