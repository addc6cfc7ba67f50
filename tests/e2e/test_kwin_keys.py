"""The pause key in KDE Plasma's Wayland session: one of KWin's global shortcuts."""
import time
from harness import LEFT
from kwin_harness import KWinTestCase

KEY_PAUSE = 119  # Linux input code


class KWinPauseKeyTest(KWinTestCase):
    def test_the_pause_key_held_pauses_once_and_pressed_again_brings_left_click_back(self):
        self.start_parked()
        x, y = self.recorder.centre
        self.pointer.key(KEY_PAUSE, True)
        self.wait_settings_line(8, "1")
        # Held on, the key repeats: clicking stays paused.
        self.assertEqual({self.settings_line(8) for _ in range(40) if not time.sleep(0.04)},
                         {"1"})
        self.pointer.key(KEY_PAUSE, False)
        self.assertEqual(self.rest_at((x - 60, y), 0), [])
        self.pointer.key(KEY_PAUSE)
        self.wait_settings_line(8, "3")
        self.assertEqual(self.rest_at((x + 60, y), 2), LEFT)
        self.assertEqual(self.run.stop(), 0)
        self.assertFalse(self.kwin_script_loaded("tindro-zevad-pause-key"), "the key stayed taken")
