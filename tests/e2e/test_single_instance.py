"""The single instance: the refusal of a second start, answered by the first instance.
(The language a first run takes from the locale: unit tests.)"""
import os
from harness import LEFT, PROGRAM_NAME, ProgramTestCase


class SingleInstanceTest(ProgramTestCase):
    def folder_state(self):
        """What a second start must leave alone: the settings file's bytes and identity (an
        atomic rewrite of the same bytes would replace it) and the program folder's names."""
        info = os.stat(self.sandbox.settings_path)
        return (self.sandbox.read_settings(), info.st_ino, info.st_mtime_ns,
                sorted(os.listdir(self.sandbox.program)))

    def test_a_second_start_asks_and_leaves_no_trace(self):
        server = self.serve("001008001")  # the same release: no question
        first = self.start_parked()
        self.assertEqual(server.requests, 1)
        before = self.folder_state()

        # The second start's message comes before its update check would; a rest on its
        # one button, OK, lets the first instance answer it.
        second = self.start(follow_bar=False)
        box = self.wait_window(PROGRAM_NAME, pid=second.pid)
        self.assertTrue(second.running(), "the second start ended without waiting")
        self.rest_and_click(self.wait_buttons(box, 1)[0].centre)
        self.assertEqual(second.wait(10), 0, "the second start did not end well")
        self.assertEqual(self.folder_state(), before)
        self.assertEqual(server.requests, 1, "the second start asked for the version")
        self.assertTrue(first.running())
        self.assertEqual(self.rest_at(self.recorder.centre, 2), LEFT)
