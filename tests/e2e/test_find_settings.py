"""Find my settings asked for on the command line. How it samples the pointer, suggests and
applies is proven on its window (tests/widget) and its rules (tests/unit); make demo goes
through it on a real display by resting alone."""
from harness import ProgramTestCase


class FindSettingsTest(ProgramTestCase):
    def test_the_option_opens_find_my_settings_over_the_whole_screen(self):
        self.start(args=["--find-settings"])
        self.wait_window(size=(1280, 1024), timeout=30)
