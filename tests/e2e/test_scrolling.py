"""The scroll kind used by resting alone: its bar button chooses it, a rest places the scroll
pad, and the pointer on the pad scrolls the window under it."""
import time
from harness import ProgramTestCase, wait_until

PAD = 120  # the pad's diameter at scale 1
SCROLL_SPOT = (22, 288 + 25)  # the scroll button on the bar, after right click (middle hidden)


class ScrollingTest(ProgramTestCase):
    def pad(self):  # the followed run's scroll pad, when it shows
        return self.x.first(lambda w: w.pid == self.bar_pid and w.viewable and
                            w.rect.w == w.rect.h == PAD)

    def steps_while_held(self, point, seconds, home):  # the events, the pointer then at home
        self.recorder.clear()
        self.x.move(point)
        time.sleep(seconds)
        self.x.move(home)
        time.sleep(0.3)
        return self.recorder.events()

    def test_a_rest_places_the_pad_and_holding_on_it_scrolls_that_way_alone_by_the_wheel(self):
        self.sandbox.write_file("Tindro Zevad extras.ini", "[Extras]\nScrollButton=1\n")
        self.start_parked()
        self.move_onto(SCROLL_SPOT)  # chosen by moving onto its button, as the others are
        self.wait_settings_line(8, "9")
        self.monitor.clear()
        x, y = centre = self.recorder.centre
        self.x.move(centre)
        pad = wait_until(self.pad, 5)
        self.assertTrue(pad, "no scroll pad after a rest\n" + self.windows())
        self.assertLessEqual(max(abs(pad.rect.centre[0] - x), abs(pad.rect.centre[1] - y)), 1)
        self.assertEqual(self.recorder.events(), [], "the rest itself scrolled or clicked")
        for dy, button in ((-40, 4), (40, 5)):
            events = self.steps_while_held((x, y + dy), 1.0, centre)
            presses = events.count(f"press {button}")
            self.assertEqual(events, [f"press {button}", f"release {button}"] * presses, dy)
            self.assertTrue(2 <= presses <= 20, f"{presses} steps in a second at {dy}")
        # No button but the wheel's was ever pressed.
        self.assertEqual({e[0] for e in self.monitor.events()}, {4, 5})
