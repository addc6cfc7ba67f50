"""The scroll kind used by resting alone: its bar button chooses it, a rest places the scroll
pad, and the pointer on the pad scrolls the window under it."""
import time
from harness import ProgramTestCase, wait_until

PAD = 120  # the pad's diameter at scale 1
SCROLL_SPOT = (22, 288 + 25)  # the scroll button on the bar, after right click (middle hidden)


class ScrollingTest(ProgramTestCase):
    def test_a_rest_places_the_pad_and_holding_on_it_scrolls_that_way_alone_by_the_wheel(self):
        self.sandbox.write_file("Tindro Zevad extras.ini", "[Extras]\nScrollButton=1\n")
        self.start_parked()
        self.move_onto(SCROLL_SPOT)  # chosen by moving onto its button, as the others are
        self.wait_settings_line(8, "9")
        self.monitor.clear()
        x, y = centre = self.recorder.centre
        self.x.move(centre)
        pad = wait_until(lambda: self.x.first(lambda w: w.pid == self.bar_pid and w.viewable
                                              and w.rect.w == w.rect.h == PAD), 5)
        self.assertTrue(pad, "no scroll pad after a rest\n" + self.windows())
        self.assertLessEqual(max(abs(pad.rect.centre[0] - x), abs(pad.rect.centre[1] - y)), 1)
        self.assertEqual(self.recorder.events(), [], "the rest itself scrolled or clicked")
        for dy, button in ((-40, 4), (40, 5)):
            self.recorder.clear()
            self.x.move(x, y + dy)  # held there for a second, then back in the middle
            time.sleep(1.0)
            self.x.move(centre)
            time.sleep(0.3)
            events = self.recorder.events()
            presses = events.count(f"press {button}")
            self.assertEqual(events, [f"press {button}", f"release {button}"] * presses, dy)
            self.assertTrue(2 <= presses <= 20, f"{presses} steps in a second at {dy}")
        # No button but the wheel's was ever pressed.
        self.assertEqual({e[0] for e in self.monitor.events()}, {4, 5})
