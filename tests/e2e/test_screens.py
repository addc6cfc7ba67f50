"""Screens as people have them: the program runs on a Xephyr nested in the test's Xvfb,
which can change its size at run time (as RandR does) or join two monitors side by side
(Xinerama heads), or draws at double size."""
from Xlib.display import Display
from harness import (BAR_HEIGHT, BAR_WIDTH, BUTTON_RECTS, SETTINGS, Button, ProgramTestCase, Rect,
                     wait_until)


class ScreensTest(ProgramTestCase):
    SCREEN = "3000x1100x24"

    def start_on(self, xephyr_args, right_edge=False, **options):
        """The program on a Xephyr with these options, left click in force, its bar parked."""
        if xephyr_args:
            self.nest(xephyr_args)
        edge = f"\r\n{int(right_edge)}\r\n3\r\n"  # line 7: 1 for the right edge alone
        self.sandbox.write_settings(SETTINGS.replace("\r\n0\r\n3\r\n", edge))
        self.start_parked(**options)

    def shown_bar(self, timeout=10, x=None):
        return wait_until(lambda: next((b for b in [self.bar()] if b and b.viewable and
                                        x in (None, b.rect.x)), None), timeout)

    def screen_height(self):  # asked afresh: a connection keeps the size it opened with
        (other := Display(self.display)).close()
        return other.screen().height_in_pixels

    def select_right_click(self, bar, scale=1):  # a rest on the shown bar's button, saved
        spot = BUTTON_RECTS[Button.RIGHT].centre
        self.x.warp(bar.rect.x + scale * spot[0], bar.rect.y + scale * spot[1])
        self.wait_settings_line(8, "5")

    def test_after_the_screen_shrinks_the_bar_shows_within_it_and_works(self):
        self.start_on(["-resizeable", "-screen", "1280x1024"])
        xephyr = self.outer.find(lambda w: w.viewable and w.id != self.recorder.id)
        self.assertEqual(len(xephyr), 1, self.outer.windows())
        self.outer.d.create_resource_object("window", xephyr[0].id).configure(width=800,
                                                                              height=600)
        self.outer.d.sync()
        self.assertTrue(wait_until(lambda: self.screen_height() == 600, 10, 0.1), "kept its size")
        shown = self.show_at_edge(300)
        # Centred on the 600 px high screen.
        self.assertEqual(shown and shown.rect, Rect(0, 82, BAR_WIDTH, BAR_HEIGHT))
        self.select_right_click(shown)

    def test_two_monitors_bar_at_the_desktops_outer_edges(self):
        self.start_on(["+xinerama", "-screen", "1600x1000", "-screen", "1280x800"], True)
        # Where the edges lie on the monitors the toolkit reports: the seam is the unit tests'.
        self.x.warp(2879, 400)  # the desktop's right edge, on the right monitor, 800 px high
        shown = self.shown_bar()
        self.assertEqual(shown and shown.rect, Rect(2880 - BAR_WIDTH, 182, BAR_WIDTH, BAR_HEIGHT))
        self.select_right_click(shown)
        self.x.warp(0, 100)  # the left edge, on the left monitor, 1000 px high
        shown = self.shown_bar(x=0)
        self.assertEqual(shown and shown.rect, Rect(0, 282, BAR_WIDTH, BAR_HEIGHT))

    def test_at_double_size_the_bar_keeps_its_layout_twice_as_large_and_works(self):
        self.bar_width = 2 * BAR_WIDTH
        self.start_on(None, env={"QT_SCALE_FACTOR": "2"})
        self.x.move(0, 400)
        shown = self.shown_bar(x=0)
        self.assertEqual(shown and shown.rect[2:], (2 * BAR_WIDTH, 2 * BAR_HEIGHT))
        self.select_right_click(shown, 2)
