"""Stopping clicks: a button pressed by hand cancels the click the rest waits for, and the pause
key pauses clicking and brings the click kind back."""
import time
from Xlib import X, XK
from harness import (LEFT, SETTINGS, HandPointer, ProgramTestCase, press, press_key, release,
                     wait_until)


class StoppingClicksTest(ProgramTestCase):
    def setUp(self):
        super().setUp()
        # A rest of 1.5 s: time enough to press a button during the rest.
        self.sandbox.write_settings(SETTINGS.replace("\r\n5\r\n", "\r\n15\r\n", 1))
        self.start_parked()
        self.hand = HandPointer(self.display)  # comes after the start: devices change
        self.addCleanup(self.hand.close)
        x, y = self.recorder.centre
        self.spots = iter((x + dx, y + dy) for dx in (-80, 0, 80) for dy in (-50, 0, 50))

    def rest_pressing(self, press_during_rest):  # the recorder's events of a rest
        self.recorder.clear()
        self.x.move(next(self.spots))
        time.sleep(0.3)
        press_during_rest()
        time.sleep(2.5)
        return self.recorder.events()

    def test_a_press_by_hand_cancels_the_waiting_click_and_an_injected_one_does_not(self):
        self.assertEqual(self.rest_pressing(self.hand.click), [], "clicked after a hand's press")
        self.assertEqual(self.rest_at(next(self.spots), 2), LEFT, "the next rest did not click")
        # A middle click through the same XTest device as the program's clicks.
        self.assertEqual(self.rest_pressing(lambda: self.x.click(2)), [press(2), release(2)] + LEFT)

    def test_the_pause_key_pauses_and_brings_left_click_back(self):
        press_key(self.display, "Pause")
        self.wait_settings_line(8, "1")
        self.assertTrue(wait_until(self.countdown, 3), "no pause sign beside the pointer")
        self.assertTrue(wait_until(lambda: not self.countdown(), 3), "the pause sign stayed")
        press_key(self.display, "Pause")
        self.wait_settings_line(8, "3")

    def test_a_pause_key_another_program_holds_stays_theirs(self):
        self.run.stop()
        root, key = self.x.root, self.x.d.keysym_to_keycode(XK.string_to_keysym("Pause"))
        root.grab_key(key, X.AnyModifier, False, X.GrabModeAsync, X.GrabModeAsync)
        self.x.d.sync()
        self.start_parked()
        press_key(self.display, "Pause")
        self.assertEqual(self.rest_at(next(self.spots), 2), LEFT, "paused by another's key")
        self.assertTrue(self.run.running())
