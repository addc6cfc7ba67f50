"""The program in KDE Plasma's Wayland session: a real KWin without a screen (kwin_harness)."""
from harness import press, release
from kwin_harness import KWinTestCase


class KWinHarnessTest(KWinTestCase):
    def test_fake_input_moves_the_pointer_and_presses_on_xwayland(self):
        self.assertTrue(self.move_over_x11(self.recorder.centre))
        self.pointer.click()
        self.assertTrue(self.recorder.wait_events(2, 5))
        self.assertEqual(self.recorder.events(), [press(1), release(1)])
