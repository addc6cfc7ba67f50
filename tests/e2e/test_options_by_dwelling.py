"""The options windows operated by resting the pointer alone: the bar's button opens them,
and while they are open every rest is a left click on the control under the pointer. Also
the start-at-logon entry and the language picker, reached the same way."""
import os, signal, time
from harness import Button, ProgramTestCase, inside, wait_until

# Controls relative to their window's top-left corner.
START_AT_LOGON, LANGUAGE_LINK, OK = (28, 184), (128, 282), (428, 369)
MORE_OPTIONS, COUNTDOWN_BOX, EXTRAS_OK = (498, 328), (27, 30), (347, 248)
# Qt's file dialog at its default size: the first row of the list, sorted by name, the row
# height, and the Open button from the bottom-right corner.
FIRST_ROW, ROW_HEIGHT, OPEN_FROM_CORNER = (165, 70), 18, (52, 54)


class EndingSignalsTest(ProgramTestCase):
    # The session's end, Ctrl+C and a closed terminal end the program whatever windows
    # are open, though these windows refuse to be closed.
    def test_signals_end_the_program_with_zero_while_options_and_more_options_are_open(self):
        for number in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP, signal.SIGTERM,
                       signal.SIGTERM):
            with self.subTest(signal.Signals(number).name):
                self.start_parked()
                options = self.open_from_bar(Button.OPTIONS)
                self.rest_and_click(inside(options, MORE_OPTIONS))
                self.wait_window(title="More options")
                self.run.send_signal(number)
                ended = wait_until(lambda: self.run.poll() is not None, 10)
                self.run.kill()  # one still running would keep the next start out
                self.assertEqual(self.run.returncode if ended else "still running", 0)


class OptionsWindowTest(ProgramTestCase):
    def test_more_options_turns_the_countdown_off_by_resting_and_keeps_it_in_its_own_file(self):
        self.start_parked()
        options = self.open_from_bar(Button.OPTIONS)
        self.rest_and_click(inside(options, MORE_OPTIONS))
        extras = self.wait_window(title="More options")
        self.rest_and_click(inside(extras, COUNTDOWN_BOX))
        self.answer(extras, EXTRAS_OK)
        self.assertIn(b"CountdownOn=0", self.sandbox.read_file("Tindro Zevad extras.ini") or b"")
        self.answer(options, OK)
        self.assertEqual(self.settings_line(8), "3", "the settings file changed")
        self.monitor.clear()
        self.x.move(self.recorder.centre)  # a rest clicks, with no countdown beside it
        while not self.monitor.events():
            self.assertFalse(self.countdown())
            time.sleep(0.05)

    def toggle_start_at_logon(self):  # rests on the box, then on OK
        options = self.open_from_bar(Button.OPTIONS)
        self.rest_and_click(inside(options, START_AT_LOGON))
        self.answer(options, OK)

    # What the entry holds is proven on its own; here it is found by the desktop's
    # rules and what it runs starts the program.
    def test_entry_starts_the_program_and_clearing_the_box_removes_it(self):
        entry_path = f"{self.sandbox.config}/autostart/tindro-zevad.desktop"
        self.start_parked()
        self.toggle_start_at_logon()
        self.assertTrue(wait_until(lambda: os.path.exists(entry_path), 10), "no entry after OK")
        with open(entry_path) as f:
            command = next(l[5:] for l in f.read().splitlines() if l.startswith("Exec="))
        self.assertEqual(self.settings_line(3), "1")
        # What the desktop would run at logon starts the program; the box comes back ticked,
        # and clearing it removes the entry.
        self.assertIsNotNone(self.run.stop(), "the program did not end")
        self.start_parked(executable=command)
        self.toggle_start_at_logon()
        self.assertTrue(wait_until(lambda: not os.path.exists(entry_path), 10), "entry stayed")
        self.assertEqual(self.settings_line(3), "0")

    def test_language_link_picks_italiano_and_the_options_window_speaks_it_at_once(self):
        self.start_parked()
        options = self.open_from_bar(Button.OPTIONS)
        self.rest_and_click(inside(options, LANGUAGE_LINK))
        dialog = self.wait_window("Language...")
        # The dialog lists the Lang folder's files by name, case aside; a rest on the file
        # selects it, a rest on Open takes it.
        row = sorted(os.listdir(f"{self.sandbox.program}/Lang"), key=str.lower).index(
            "Italiano.lng")
        time.sleep(0.3)  # the list fills in the background
        self.rest_and_click(inside(dialog, (FIRST_ROW[0], FIRST_ROW[1] + row * ROW_HEIGHT)))
        self.rest_and_click(inside(dialog, (dialog.rect.w - OPEN_FROM_CORNER[0],
                                            dialog.rect.h - OPEN_FROM_CORNER[1])))
        self.wait_gone(dialog)
        self.assertTrue(wait_until(lambda: self.x.find(lambda w: w.id == options.id and w.viewable
                                                       and w.title == "Opzioni"), 10),
                        "the options window did not switch to Italian\n" + self.windows())
        self.rest_and_click(inside(options, OK))  # OK keeps the choice
        self.wait_settings_line(4, "Italiano.lng")
