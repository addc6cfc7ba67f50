"""The program dies by SIGKILL at random moments, most of them while the pointer sweeps
over the click-kind buttons and every new button saves the settings; whatever moment it
dies at, the settings file holds the eight lines of one whole save. TZ_KILL_COUNT sets the
number of kills (30 by default), TZ_KILL_SEED the random choices."""
import ctypes, itertools, os, random, re, select, sys, time
from harness import BUTTON_RECTS, ELSEWHERE, Button, ProgramTestCase, Rect, wait_until

# The fixture's settings with the middle-click button shown, so that buttons 1 to 6 are
# all on the bar (the middle one below the right one); line 8 follows.
FIXED_LINES = b"2\r\n5\r\n0\r\nEnglish.lng\r\n0\r\n1\r\n0\r\n"
CENTRES = [BUTTON_RECTS[Button(i)].centre for i in range(1, 6)] + [Rect(0, 288, 45, 50).centre]


class SaveWatch:
    """Sees the temporary files that saves create in a folder (inotify, IN_CREATE)."""

    def __init__(self, folder):
        libc = ctypes.CDLL(None, use_errno=True)
        self.fd = libc.inotify_init1(os.O_NONBLOCK | os.O_CLOEXEC)
        libc.inotify_add_watch(self.fd, folder.encode(), 0x100)

    def saw_save(self, timeout):
        return bool(select.select([self.fd], [], [], timeout)[0]) and \
            b".tindro-zevad-" in os.read(self.fd, 65536)

    def drain(self):
        while select.select([self.fd], [], [], 0)[0]:
            os.read(self.fd, 65536)


class KilledMidWriteTest(ProgramTestCase):
    def parked_since(self, seen):
        """The bar of the last run mapped and unmapped again after the first `seen` window
        events: the X server gives a new program the window ids of one it lost."""
        bar = self.bar()
        kinds = [kind for kind, window in self.x.window_events()[seen:] if bar and window == bar.id]
        return "map" in kinds and "unmap" in kinds[kinds.index("map"):]

    def test_settings_file_always_holds_one_whole_save(self):
        seed = int(os.environ.get("TZ_KILL_SEED", random.randrange(1 << 32)))
        rnd, kills, moves = random.Random(seed), {"start-up": 0, "sweep": 0, "save": 0}, 0
        self.sandbox.write_settings(FIXED_LINES + b"3\r\n")
        watch = SaveWatch(self.sandbox.program)
        self.addCleanup(os.close, watch.fd)
        for i in range(int(os.environ.get("TZ_KILL_COUNT", 30))):
            # A fifth of the kills fall anywhere in the start-up; the others in the first
            # second of the sweep, half of them when a save has created its temporary file
            # and not yet renamed it.
            kind = rnd.choice(["start-up"] * 2 + ["sweep"] * 4 + ["save"] * 4)
            delay = rnd.uniform(0, 0.8 if kind == "start-up" else 1.0)
            where = f"kill {i}, seed {seed}"
            self.x.move(ELSEWHERE)
            seen = len(self.x.window_events())
            run = self.start()
            if kind == "start-up":
                time.sleep(delay)
            else:
                parked = wait_until(lambda: self.parked_since(seen), 30)
                bar = parked and self.show_at_edge(512)
                self.assertTrue(bar, f"{where}: the bar never came up\n" + self.windows())
                kill_at, armed = time.monotonic() + delay, False
                for step in itertools.count():
                    x, y = CENTRES[step % 6]
                    self.x.move(bar.rect.x + x, bar.rect.y + y)
                    moves += 1
                    if time.monotonic() < kill_at:
                        time.sleep(0.015)
                    elif kind == "sweep" or (armed and watch.saw_save(0.015)):
                        break
                    elif not armed:
                        watch.drain()
                        armed = True
                    self.assertLess(time.monotonic(), kill_at + 30, f"{where}: no save seen")
            run.kill()
            kills[kind] += 1
            self.assertTrue(wait_until(lambda: not run.running(), 10), f"{where}: no end")
            self.assertRegex(self.sandbox.read_settings() or b"", rb"\A" + re.escape(FIXED_LINES) +
                             rb"[1-6]\r\n\Z", f"{where}: a damaged settings file")
        # Temporary files of interrupted saves stay behind; count them for the record.
        left = sum(name.startswith(".tindro-zevad-") for name in os.listdir(self.sandbox.program))
        sys.stderr.write(f"kills: {kills} ({moves} button changes), temporary files left by "
                         f"interrupted saves: {left}\n")
