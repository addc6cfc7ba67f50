"""The program on KWin's desktop as Plasma sets one up at 200 %: two outputs side by side at
scale 2, the X clients scaling themselves (Plasma's default), so that Xwayland's pixels are twice
KWin's logical ones."""
from harness import BAR_HEIGHT, BAR_WIDTH, LEFT, SETTINGS, wait_until
from kwin_harness import KWinTestCase


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
