"""Damaged files on disk at start-up, the settings file or the language file: the program
must come up (its bar slides out and parks) and click once a click kind is chosen on the
bar, which also saves a whole settings file. How the files' readers take extra lines, NUL
bytes and long files is proven on the readers themselves (unit tests)."""
import random
from harness import Button, ProgramTestCase, press, release

LANGUAGE = "Lang/English.lng"


class DamagedInputTest(ProgramTestCase):
    def starts_and_clicks(self, settings=None, language=None):
        if settings is not None:
            self.sandbox.write_settings(settings)
        if language is not None:
            self.sandbox.write_file(LANGUAGE, language)
        self.start_parked()
        self.choose(Button.RIGHT)
        self.assertLess(len(self.sandbox.read_settings()), 200, "not eight short lines saved")
        self.assertEqual(self.rest_at(self.recorder.centre, 2), [press(3), release(3)])
        self.assertTrue(self.run.running())

    def test_settings_of_random_bytes(self):
        self.starts_and_clicks(settings=random.Random(1).randbytes(4096))

    def test_settings_of_ten_megabytes_in_one_line_and_a_language_file_of_random_bytes(self):
        # No language named: the locale's, English, is read.
        self.starts_and_clicks(b"7" * (10 << 20), random.Random(2).randbytes(256 << 10))

    def test_settings_naming_a_missing_language_file(self):
        self.starts_and_clicks(settings="2\r\n5\r\n0\r\nMissing.lng\r\n0\r\n0\r\n0\r\n3\r\n")
