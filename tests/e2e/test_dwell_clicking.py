"""Dwell clicking: the program's clicks as a window of the test receives them."""
import time
from Xlib import X
from Xlib.display import Display
from harness import BAR_TOP, BUTTON_RECTS, LEFT, Button, ProgramTestCase, pending, press, release


class DwellClickingTest(ProgramTestCase):
    def test_a_pointer_warped_onto_the_bar_after_a_click_selects_there_and_clicks_nothing(self):
        # Pointing software that warps the pointer makes no device motion. After a click the
        # program waits for the pointer to move; a quick glide to the edge and onto a button
        # must still call up the bar, or the rest would click the desktop under it.
        self.start_parked()
        self.assertEqual(self.rest_at(self.recorder.centre, 2), LEFT)
        self.own(desktop=Display(self.display))  # the presses that land on no window
        self.desktop.screen().root.change_attributes(event_mask=X.ButtonPressMask)
        self.desktop.sync()
        (x, y), spot = self.recorder.centre, BUTTON_RECTS[Button.RIGHT].centre
        for step in range(4, -1, -1):  # to the edge in 0.2 s, along it, onto the button
            self.x.warp(x * step // 5, (y * step + (BAR_TOP + spot[1]) * (5 - step)) // 5)
            time.sleep(0.04)
        time.sleep(0.12)
        self.x.warp(spot[0], BAR_TOP + spot[1])
        self.wait_settings_line(8, str(int(Button.RIGHT)))
        time.sleep(1)  # twice the delay
        self.desktop.sync()
        presses = [e for e in pending(self.desktop) if e.type == X.ButtonPress]
        self.assertEqual(presses, [], "a click on the desktop beneath the bar")

    def test_ending_the_program_lets_go_of_a_drags_held_button(self):
        # The X server keeps an injected press after its client is gone.
        self.start_parked()
        self.choose(Button.DRAG)
        self.assertEqual(self.rest_at(self.recorder.centre, 1), [press(1)])
        self.run.terminate()  # as the session's end does
        self.assertEqual(self.run.wait(10), 0)
        self.assertEqual(self.recorder.events(), [press(1), release(1)])
        self.assertFalse(self.x.d.screen().root.query_pointer().mask & X.Button1Mask)
