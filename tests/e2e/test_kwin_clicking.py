"""Clicking in KDE Plasma's Wayland session: every click kind on a native Wayland window, and the
exit and options windows answered by resting, on a real KWin (kwin_harness)."""
import time
from harness import BUTTON_RECTS, LEFT, SETTINGS, Button, Rect, inside, press, release
from kwin_harness import KWinTestCase, WaylandRecorder
from test_kwin import SCRIPT
from test_options_by_dwelling import OK, START_AT_LOGON

YES, NO = (126, 109), (236, 109)  # in the exit window


class KWinClickKindsTest(KWinTestCase):
    def open_display(self):
        super().open_display()
        self.own(recorder=WaylandRecorder(self.session, self.pointer))
        self.sandbox.write_settings(SETTINGS.replace("\r\n0\r\n0\r\n3", "\r\n1\r\n0\r\n3"))
        self.sandbox.write_file("Tindro Zevad extras.ini", "[Extras]\nScrollButton=1\n")

    def test_each_kind_chosen_on_the_bar_clicks_once_where_the_pointer_rests(self):
        spots = {**BUTTON_RECTS, Button.MIDDLE: Rect(0, 288, 45, 52)}  # shown: settings line 6
        kinds = [(Button.RIGHT, [press(3), release(3)]), (Button.MIDDLE, [press(2), release(2)]),
                 (Button.DOUBLE, LEFT * 2), (Button.DRAG, [press(1)], [release(1)]),
                 (Button.NO_CLICK, []), (Button.LEFT, LEFT)]  # a drag lets go at the next rest
        self.start_parked()
        for button, *rests in kinds:
            with self.subTest(button.name):
                self.move_onto(spots[button].centre)
                self.wait_settings_line(8, str(int(button)))
                for point, expected in zip(((400, 300), (800, 600)), rests):
                    self.assertEqual(self.rest_at(point, len(expected)), expected)
                    time.sleep(1)  # twice the delay, still resting
                    self.assertEqual(self.recorder.events(), expected)
                    self.assertEqual(self.recorder.points(), [point] * len(expected))
        with self.subTest("SCROLL"):  # a rest places the pad; held off its middle, it scrolls
            self.move_onto((22, 340 + 25))  # the scroll button, after the middle one
            self.wait_settings_line(8, "9")
            self.assertEqual(self.rest_at((400, 300), 0), [])
            for dy, step in ((-40, "wheel 120"), (40, "wheel -120")):  # one click a step
                self.recorder.clear()
                self.pointer.move((400, 300 + dy))  # held there for a second, then back
                time.sleep(1)
                self.pointer.move((400, 300))
                time.sleep(0.3)
                events = self.recorder.events()
                self.assertEqual(events, [step] * len(events), dy)
                self.assertTrue(2 <= len(events) <= 20, f"{len(events)} steps at {dy}")


class KWinWindowsByRestingTest(KWinTestCase):
    def test_options_ok_saves_and_the_exit_windows_no_keeps_the_program_and_yes_ends_it(self):
        self.start_parked()
        options = self.open_from_bar(Button.OPTIONS)
        self.assertTrue(self.move_over_x11(inside(options, START_AT_LOGON)))
        time.sleep(1.5)  # one click: three times the delay
        self.assertTrue(self.move_over_x11(inside(options, OK)))
        self.wait_gone(options)
        self.wait_settings_line(3, "1")
        exit_window = self.open_from_bar(Button.EXIT)
        self.assertTrue(self.move_over_x11(inside(exit_window, NO)))
        self.wait_gone(exit_window)
        time.sleep(0.3)
        self.assertTrue(self.run.running())
        self.assertTrue(self.move_over_x11(inside(self.open_from_bar(Button.EXIT), YES)))
        self.assertEqual(self.run.wait(10), 0, "a rest on Yes did not end the program well")
        self.assertFalse(self.kwin_script_loaded(SCRIPT), "a script stayed in KWin")
