"""The update check at start-up against a version server of the test: the question about
a newer release answered Yes by a rest opens the product page in the user's environment.
(No, and the clicks while it is asked: the bar's window tests; the fetch's size cap and
time bound, a silent server too: the fetch's unit tests.)"""
import os
from harness import PATH, ProgramTestCase, wait_until

NEWER, QUESTION = "001008002", "Update available"


class UpdateCheckTest(ProgramTestCase):
    def start_with_opener(self):
        """Starts the program with the user's own Qt platform choice, which the program
        overrides for itself, and a desktop opener recording its Qt settings, then each
        argument on a line of its own."""
        root = self.sandbox.root
        self.opened, self.opener_qt = f"{root}/opened.txt", f"{root}/opener-qt.txt"
        os.makedirs(f"{root}/bin")
        self.sandbox.write_file("../bin/xdg-open", f"#!/bin/sh\nenv | grep '^QT_' | sort > "
                                f"'{self.opener_qt}'\nprintf '%s\\n' \"$@\" >> '{self.opened}'\n")
        os.chmod(f"{root}/bin/xdg-open", 0o700)
        return self.start(env={"PATH": f"{root}/bin:{PATH}",
                               "QT_QPA_PLATFORM": "wayland;xcb"})

    def test_yes_opens_the_product_page_and_ends_without_ever_showing_the_bar(self):
        self.serve(NEWER)
        run = self.start_with_opener()
        box = self.wait_window(QUESTION)
        # Yes first, in the order Qt gives them with no desktop named; a rest answers.
        self.x.move(self.wait_buttons(box, 2)[0].centre)
        self.assertEqual(run.wait(10), 0, "Yes did not end the program well")
        self.assertTrue(wait_until(lambda: os.path.exists(self.opened), 10), "nothing opened")
        with open(self.opened) as opened, open(self.opener_qt) as qt:
            page, qt_settings = opened.read(), qt.read()
        self.assertRegex(page, r"\Ahttps://[^\n]*tindro-mouse\.html\n\Z")
        # The opener runs in the user's environment, not with the program's Qt settings.
        self.assertEqual(qt_settings, "QT_QPA_PLATFORM=wayland;xcb\n")
        mapped = {w for kind, w in self.x.window_events() if kind == "map"}
        self.assertEqual(mapped - {self.recorder.id}, {box.id}, "another window was shown")
