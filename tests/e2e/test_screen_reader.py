"""The program as a screen reader sees it: AT-SPI on a session bus of the test's own."""
import json, subprocess, sys
from pathlib import Path
from harness import PROGRAM_NAME, ProgramTestCase, SessionBus, wait_until

READER = str(Path(__file__).with_name("screen_reader.py"))


class ScreenReaderTest(ProgramTestCase):
    def setUp(self):
        super().setUp()
        # A session bus of this test's own: the accessibility bus starts on it when asked.
        bus = SessionBus({"DISPLAY": self.display, "PATH": "/usr/bin:/bin"})
        self.addCleanup(lambda: (bus.kill(), bus.wait(5)))  # the group: its buses too
        self.address = bus.address

    def read(self, press=None):  # what a screen reader finds in the program (None: nothing)
        out = subprocess.run([sys.executable, READER, str(self.run.pid), *filter(None, [press])],
                             env={"DBUS_SESSION_BUS_ADDRESS": self.address,
                                  "DISPLAY": self.display, "PATH": "/usr/bin:/bin"},
                             capture_output=True, timeout=30)
        return json.loads(out.stdout or b"null")

    def test_a_screen_reader_lists_the_bars_buttons_and_presses_right_click(self):
        self.start_parked(env={"DBUS_SESSION_BUS_ADDRESS": self.address,
                               "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"})
        self.x.move(self.recorder.centre)  # a rest: the countdown ring shows, a window too
        self.assertTrue(wait_until(self.countdown, 5), self.windows())
        windows = wait_until(self.read, 20)
        self.assertTrue(windows, "the screen reader found no such program")
        self.assertEqual([w["name"] for w in windows if not w["name"]], [], windows)
        bar = next(w for w in windows if w["name"] == PROGRAM_NAME)
        # Of the bar's controls that can be pressed, the kind in force is checked.
        self.assertEqual([c["name"] for c in bar["children"] if "Press" in c["actions"]
                          and "checked" in c["states"]], ["Left click"])
        self.read(press="Right click")  # chooses it, as moving onto it does
        self.wait_settings_line(8, "5")
