"""Languages and the single instance: the language a first run takes from the locale and the
refusal of a second start. (Texts that look like markup are shown as written: window tests.)"""
import os
from harness import (ELSEWHERE, PROGRAM_NAME, Button, ProgramTestCase, Sandbox,
                     press, release, wait_until)


class LanguageTest(ProgramTestCase):
    def folder_state(self):
        """What a second start must leave alone: the settings file's bytes and identity (an
        atomic rewrite of the same bytes would replace it) and the program folder's names."""
        info = os.stat(self.sandbox.settings_path)
        return (self.sandbox.read_settings(), info.st_ino, info.st_mtime_ns,
                sorted(os.listdir(self.sandbox.program)))

    def test_first_run_takes_italian_from_the_locale_and_a_second_start_asks_and_leaves_no_trace(
            self):
        server = self.serve("answer", "001008001")  # the same release: no question
        self.sandbox.remove_file(Sandbox.SETTINGS_NAME)
        first = self.start_parked(locale="it_IT.UTF-8")
        self.assertEqual(server.requests, 1)
        # The first save (a hover over a click kind) writes the whole file: defaults and the
        # language of the locale's country.
        self.choose(Button.RIGHT)
        self.assertEqual(self.settings_line(4), "Italiano.lng")
        self.choose(Button.LEFT)  # so that the first instance can answer the second's message
        self.x.move(ELSEWHERE)
        self.assertTrue(wait_until(lambda: not self.bar().viewable, 10), self.windows())
        before = self.folder_state()

        # The second start's message comes before its update check would; a rest on its
        # one button, OK, lets the first instance answer it.
        second = self.start(follow_bar=False, locale="it_IT.UTF-8")
        box = self.wait_for_title(PROGRAM_NAME, second.pid)
        self.assertTrue(second.running(), "the second start ended without waiting")
        self.rest_and_click(self.wait_buttons(box, 1)[0].centre)
        self.assertEqual(second.wait(10), 0, "the second start did not end well")
        self.assertEqual(self.folder_state(), before)
        self.assertEqual(server.requests, 1, "the second start asked for the version")
        self.assertTrue(first.running())
        self.assertEqual(self.rest_at(self.recorder.centre, 2), [press(1), release(1)])
