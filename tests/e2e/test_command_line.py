"""The program's own options, on the real executable: they answer without any display."""
import os, subprocess, unittest


class CommandLineTest(unittest.TestCase):
    def test_help_and_version_answer_and_anything_else_is_refused(self):
        program = os.path.join(os.environ["TZ_DIST_DIR"], "tindro-zevad")
        env = {"PATH": "/usr/bin:/bin"}  # no DISPLAY: the options must not need one
        # Arguments, exit status, the start of what goes to stdout (status 0) or stderr.
        for args, code, start in [
                (["--help"], 0, "Usage: tindro-zevad [--find-settings] [--platform=x11|kwin] | "
                                "--help | --version\n\nClicks by resting"),
                (["-h"], 0, "Usage: tindro-zevad"),
                (["--version"], 0, "Tindro Zevad Free 1."),
                (["--bogus"], 2, "tindro-zevad: unknown option: --bogus\n\nUsage:"),
                (["--help", "x"], 2, "tindro-zevad: unexpected arguments\n\nUsage:"),
                (["file.txt"], 2, "tindro-zevad: unexpected arguments"),
                (["--platform=wayland"], 2,
                 "tindro-zevad: unknown platform: wayland (x11 or kwin)"),
                (["--platform=x11", "--find-settings", "--platform=kwin"], 2,
                 "tindro-zevad: unexpected arguments")]:
            with self.subTest(args=args):
                done = subprocess.run([program, *args], env=env, capture_output=True,
                                      text=True, timeout=10)
                self.assertEqual(done.returncode, code)
                said, silent = (done.stdout, done.stderr)[::1 if code == 0 else -1]
                self.assertTrue(said.startswith(start), said)
                self.assertEqual(silent, "")
