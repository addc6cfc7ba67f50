"""The scroll kind on a real display: its bar button chooses it, a rest places the scroll pad's
window under the pointer, and holding on the pad sends the wheel to the window beneath. (Its
zones, directions and rates are the engine's unit tests.)"""
import time
from harness import ProgramTestCase, press, release, wait_until

PAD = 120  # the pad's diameter at scale 1
SCROLL_SPOT = (22, 288 + 25)  # the scroll button on the bar, after right click (middle hidden)


class ScrollingTest(ProgramTestCase):
    def test_a_rest_places_the_pad_and_holding_on_it_scrolls_the_window_beneath_by_the_wheel(self):
        self.sandbox.write_file("Tindro Zevad extras.ini", "[Extras]\nScrollButton=1\n")
        self.start_parked()
        self.move_onto(SCROLL_SPOT)  # chosen by moving onto its button, as the others are
        self.wait_settings_line(8, "9")
        x, y = centre = self.recorder.centre
        self.monitor.clear()
        self.x.move(centre)
        pad = wait_until(lambda: self.x.first(lambda w: w.pid == self.bar_pid and w.viewable
                                              and w.rect.w == w.rect.h == PAD), 5)
        self.assertTrue(pad, "no scroll pad after a rest\n" + self.windows())
        self.assertLessEqual(max(abs(pad.rect.centre[0] - x), abs(pad.rect.centre[1] - y)), 1)
        self.recorder.clear()
        self.x.move(x, y - 40)  # above the middle, held a second, then back in the middle
        time.sleep(1.0)
        self.x.move(centre)
        time.sleep(0.3)
        events = self.recorder.events()
        self.assertTrue(events and events == [press(4), release(4)] * (len(events) // 2), events)
        # The rest itself pressed nothing, and no button but the wheel's was ever pressed.
        self.assertEqual({e[0] for e in self.monitor.events()}, {4})
