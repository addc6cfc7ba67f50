"""An installed program folder the user cannot write to, holding a settings file the user
cannot replace: the program must run and click as usual, keep a new click kind in the
user's own settings file (starting from the program folder's values) for this run and the
next, and leave the program folder as it was."""
import os, shutil, time
from harness import BAR_WIDTH, SETTINGS, Button, ProgramTestCase, press, release, proc_status

NOBODY = 65534
LEFT, RIGHT = [press(1), release(1)], [press(3), release(3)]


class ReadOnlyFolderTest(ProgramTestCase):
    def run_as_nobody(self):
        """Root ignores permission bits, so a root test runs the program as nobody through
        setpriv; the real executable then lies beside its starter."""
        setpriv, sandbox = shutil.which("setpriv"), self.sandbox
        if not setpriv:
            self.skipTest("running as root without setpriv: cannot take write access away")
        os.rename(sandbox.executable, sandbox.executable + ".bin")
        with open(sandbox.executable, "w") as starter:
            starter.write(f'#!/bin/sh\nexec {setpriv} --reuid={NOBODY} --regid={NOBODY} '
                          '--clear-groups "$0.bin" "$@"\n')
        os.chmod(sandbox.executable, 0o755)
        # nobody must reach the sandbox and own its runtime and configuration folders.
        os.chmod(sandbox.root, 0o711)
        os.chmod(sandbox.tmp, 0o1777)
        for folder in (sandbox.runtime, sandbox.config):
            os.chown(folder, NOBODY, NOBODY)

    def test_program_clicks_and_keeps_a_new_click_kind_in_the_users_own_file(self):
        if os.geteuid() == 0:
            self.run_as_nobody()
        os.chmod(self.sandbox.program, 0o555)
        before = sorted(os.listdir(self.sandbox.program))
        self.start_parked()
        self.assertNotEqual(proc_status(self.run.pid, "Uid:"), 0, "the program runs as root")
        x, y = self.recorder.centre
        self.assertEqual(self.rest_at((x, y), 2), LEFT)
        self.move_onto(Button.RIGHT)
        time.sleep(1)  # the file it saves to lies elsewhere
        self.assertEqual(self.rest_at((x, y), 2), RIGHT, "the right click did not take effect")
        self.assertEqual(self.rest_at((x + 60, y + 40), 2), RIGHT, "it did not last for the run")
        self.assertTrue(self.run.running())
        self.assertEqual(self.x.find(lambda w: w.viewable and w.pid == self.run.pid and
                                     w.rect.w != BAR_WIDTH), [], "the program showed a window")
        self.assertEqual(self.sandbox.read_settings(), SETTINGS.encode())
        self.assertEqual(sorted(os.listdir(self.sandbox.program)), before)
        with open(f"{self.sandbox.config}/tindro-zevad/Tindro Zevad.ini", "rb") as own:
            self.assertEqual(own.read(), SETTINGS[:-3].encode() + b"5\r\n")
        self.run.stop()
        # The next run, with the pointer resting on the target as it comes up.
        self.x.move(x, y + 20)
        self.recorder.clear()
        self.start()
        self.recorder.wait_events(2, 15)
        time.sleep(0.5)
        self.assertEqual(self.recorder.events(), RIGHT, "the next run did not right-click")
