"""Sounds on, but nothing to play them with or nothing playable: the program must start,
take a click kind and click as usual, never waiting on sound. The sandbox's runtime folder
holds no sound server, and none may be started on the program's behalf."""
import socket, struct
from harness import Button, ProgramTestCase, press, release

SOUNDS_ON = "2\r\n5\r\n0\r\nEnglish.lng\r\n1\r\n0\r\n0\r\n3\r\n"
LEFT, DOUBLE = [press(1), release(1)], [press(1), release(1)] * 2


def silent_wave(rate, channels, seconds):  # 16 bits a sample
    size = rate * channels * 2 * seconds
    return struct.pack("<4sI4s4sIHHIIHH4sI", b"RIFF", 36 + size, b"WAVE", b"fmt ", 16, 1,
                       channels, rate, rate * channels * 2, channels * 2, 16, b"data",
                       size) + bytes(size)


class SoundFaultTest(ProgramTestCase):
    def starts_and_clicks(self, click1=None, click2=None, silent_server=False):
        self.sandbox.write_settings(SOUNDS_ON)
        self.assertTrue(self.sandbox.read_file("Click/Click1.wav"), "the real sounds are missing")
        if click1 is not None:
            self.sandbox.write_file("Click/Click1.wav", click1)
            self.sandbox.write_file("Click/Click2.wav", click2)
        env = {}
        if silent_server:  # takes connections into its queue and never says a word
            server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
            self.addCleanup(server.close)
            server.bind(f"{self.sandbox.root}/silent-sound-server")
            server.listen(64)
            env["PULSE_SERVER"] = f"unix:{self.sandbox.root}/silent-sound-server"
        self.start_parked(env=env)
        x, y = self.recorder.centre
        self.assertEqual(self.rest_at((x, y), 2), LEFT)
        self.choose(Button.DOUBLE)  # the hover sound
        self.assertEqual(self.rest_at((x - 50, y), 4), DOUBLE)
        # The click sound came after that click; the next rest clicks as well.
        self.assertEqual(self.rest_at((x + 50, y + 30), 4), DOUBLE)
        self.assertTrue(self.run.running())

    def test_no_sound_server(self):
        self.starts_and_clicks()

    def test_wave_files_that_are_not_waves_or_empty(self):
        self.starts_and_clicks(b"RIFF this is no sound at all\r\n", b"")

    def test_sound_server_that_never_answers(self):
        self.starts_and_clicks(silent_server=True)

    def test_long_low_rate_stereo_click_sound(self):
        # 20 s at 8 kHz: the click sound holds the program for its first 3 s and the
        # server's allowance, not for 16 s.
        self.starts_and_clicks(silent_wave(8000, 2, 20), b"", silent_server=True)
