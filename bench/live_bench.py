"""Figures of the real program (the tests' build, whose update check fails at once) in a
sandboxed copy of the program folder on a private Xvfb: start-up time, CPU time idle and
with a moving pointer, resident memory, dwell latency and settings file activity while
the pointer sweeps the bar. Times of X events are the server's own timestamps (1 ms).
With --kwin: CPU, memory and latency in a KWin session of its own (kwin_harness), KWin's
CPU counted beside the program's against a run of KWin alone.

    live_bench.py [seconds per CPU measurement, default 60] [--kwin]   (run by bench/run.sh)
"""
import ctypes, math, os, random, select, struct, sys, time, unittest
from harness import BUTTON_RECTS, BAR_WIDTH, Button, ProgramTestCase, Run, proc_status
from kwin_harness import KWinTestCase
from Xlib import X, display as xdisplay

STILL = (1100, 120)  # away from the bar and the target
SECONDS = 60


def report(what, unit, values):
    values = sorted(values) or [float("nan")]
    print(f"{what:34} n={len(values)}  min {values[0]:.1f}  median "
          f"{values[len(values) // 2]:.1f}  max {values[-1]:.1f} {unit}", flush=True)


def on_cpu(pid):
    """The scheduler's time on a CPU of each of the process's threads, in seconds."""
    times = {}
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                times[task] = int(f.read().split()[0]) / 1e9
        except (FileNotFoundError, ProcessLookupError):
            pass  # ended meanwhile
    return times


def on_cpu_since(pid, before):
    """On-CPU seconds of the process since on_cpu's before, counted per thread: a thread
    that ended meanwhile drops out (its last stretch uncounted) instead of taking its whole
    time off the sum."""
    return sum(seconds - before.get(task, 0) for task, seconds in on_cpu(pid).items())


def next_event(d, deadline):
    """The next event of connection d, or None at the deadline."""
    while not d.pending_events():
        left = deadline - time.monotonic()
        if left <= 0:
            return None
        select.select([d.fileno()], [], [], min(left, 0.1))
    return d.next_event()


class SettingsWatch:
    """Saves (renames onto) and opens of the settings file, through inotify."""
    IN_OPEN, IN_MOVED_TO, IN_NONBLOCK = 0x20, 0x80, 0o4000

    def __init__(self, folder, name):
        libc = ctypes.CDLL(None, use_errno=True)
        self.fd, self.name = libc.inotify_init1(self.IN_NONBLOCK), name.encode()
        libc.inotify_add_watch(self.fd, os.fsencode(folder), self.IN_OPEN | self.IN_MOVED_TO)

    def count(self):
        saves = opens = 0
        try:
            while data := os.read(self.fd, 65536):
                while data:
                    _, mask, _, length = struct.unpack_from("iIII", data)
                    if data[16:16 + length].rstrip(b"\0") == self.name:
                        saves, opens = saves + bool(mask & self.IN_MOVED_TO), \
                            opens + bool(mask & self.IN_OPEN)
                    data = data[16 + length:]
        except BlockingIOError:
            pass
        return saves, opens


class LiveBench(ProgramTestCase):
    def test_figures(self):
        self.start_up(10)
        self.start_parked()
        time.sleep(2)
        self.memory("memory at idle after start")
        for moving in (False, True):
            (used,), wall = self.cpu(moving)
            print(f"{self.cpu_title(moving):34} {100 * used / wall:.3f} % of a core "
                  f"(on-CPU {used:.3f} s over {wall:.0f} s)", flush=True)
            if not moving:
                self.memory("memory at idle")
        self.dwell_latency(20)
        self.settings_activity(10)
        self.memory("memory at the end")

    def memory(self, when):
        rss, peak = (proc_status(self.run.pid, key) for key in ("VmRSS:", "VmHWM:"))
        print(f"{when:34} VmRSS {rss} KiB, VmHWM {peak} KiB")

    def start_up(self, runs):
        """From process start to the bar's unmapping after its slide."""
        d = xdisplay.Display(self.display)
        d.screen().root.change_attributes(event_mask=X.SubstructureNotifyMask)
        times = []
        for _ in range(runs):
            self.x.move(STILL)
            d.sync()
            while d.pending_events():
                d.next_event()
            started, bar = time.monotonic(), None
            run = Run(self.sandbox, self.display)
            while (e := next_event(d, started + 30)) is not None:
                if e.type == X.MapNotify and bar is None and \
                        e.window.get_geometry().width == BAR_WIDTH:
                    bar = e.window.id
                elif e.type == X.UnmapNotify and e.window.id == bar:
                    times.append(1000 * (time.monotonic() - started))
                    break
            run.stop()
        d.close()
        report("start to bar parked", "ms", times)

    @staticmethod
    def cpu_title(moving): return "CPU, pointer moving 20 Hz" if moving else "CPU, pointer still"

    def cpu(self, moving, others=()):
        """On-CPU seconds of the program (when one runs) and of the processes others over
        SECONDS, the pointer still or moving at 20 Hz; and the wall time they took."""
        self.x.move(STILL)
        time.sleep(1)
        pids = ([self.run.pid] if self.run else []) + list(others)
        before, start, angle = [on_cpu(p) for p in pids], time.monotonic(), 0.0
        while time.monotonic() < start + SECONDS:
            if moving:
                angle += 0.2
                self.x.move(900 + int(150 * math.cos(angle)), 700 + int(150 * math.sin(angle)))
            time.sleep(0.05 if moving else 0.1)
        wall = time.monotonic() - start
        return [on_cpu_since(p, b) for p, b in zip(pids, before)], wall

    def moved_at(self, x, y):
        """Moves the pointer; None: the target's motion event then stamps the arrival."""
        self.x.move(x, y)

    def dwell_latency(self, rests):
        """From the pointer's arrival on a target to the press the program injects there,
        as the X server stamped them. A rest carries the ticks counted since the last
        click, so each measured rest starts within 90 ms of the previous click, at a
        random point of the tick period; the first rest only sets this up."""
        d = xdisplay.Display(self.display)
        screen = d.screen()
        target = screen.root.create_window(
            300, 250, 600, 400, 0, screen.root_depth, background_pixel=screen.white_pixel,
            override_redirect=True,
            event_mask=X.ButtonPressMask | X.ButtonReleaseMask | X.PointerMotionMask)
        target.map()
        d.sync()
        latencies, relayed, rng = [], [], random.Random(7)
        for i in range(-1, rests):
            x, y = 350 + (i + 1) % 5 * 100, 300 + (i + 1) % 3 * 100
            sent = arrived = self.moved_at(x, y)
            pressed = None
            while (e := next_event(d, time.monotonic() + 5)) is not None:
                if e.type == X.MotionNotify and (e.root_x, e.root_y) == (x, y):
                    if sent is None:
                        arrived = e.time
                    elif i >= 0:  # how late the target saw the motion that was sent
                        relayed.append((e.time - sent + 2**31) % 2**32 - 2**31)
                elif e.type == X.ButtonPress and arrived is not None:
                    pressed = e.time
                elif e.type == X.ButtonRelease and pressed is not None:
                    break
            if i >= 0 and arrived is not None and pressed is not None:
                latencies.append((pressed - arrived) & 0xFFFFFFFF)
            time.sleep(rng.randint(0, 90) / 1000)
        target.destroy()
        d.close()
        report("dwell latency, delay 0.5 s", "ms", latencies)
        if relayed:
            report("motion sent to seen on the target", "ms", relayed)

    def settings_activity(self, seconds):
        """Saves and reads of the settings while the pointer changes button on the bar
        ten times a second, and while it moves within one button at 20 Hz."""
        watch = SettingsWatch(self.sandbox.program, self.sandbox.SETTINGS_NAME)
        kinds = [Button.NO_CLICK, Button.DOUBLE, Button.LEFT, Button.DRAG, Button.RIGHT]
        cx, cy = BUTTON_RECTS[Button.RIGHT].centre
        for what, spot, hz in (
                ("settings, new button 10 times/s", lambda i: BUTTON_RECTS[kinds[i % 5]].centre,
                 10),
                ("settings, within one button 20 Hz",
                 lambda i: (cx - 8 + i * 7 % 17, cy - 10 + i * 5 % 21), 20)):
            shown = self.move_onto(spot(0))  # counting starts after this first save
            time.sleep(0.3)
            watch.count()
            end, moves = time.monotonic() + seconds, 0
            while time.monotonic() < end:
                moves += 1
                px, py = spot(moves)
                self.x.move(shown.rect.x + px, shown.rect.y + py)
                time.sleep(1 / hz)
            time.sleep(0.3)
            saves, reads = watch.count()
            print(f"{what:34} {moves} moves: {saves / seconds:.2f} saves/s, "
                  f"{reads / seconds:.2f} reads/s ({saves} saves, {reads} reads)", flush=True)
            self.x.move(STILL)
            time.sleep(0.5)
        os.close(watch.fd)


class KWinLiveBench(LiveBench, KWinTestCase):
    """The program in KDE Plasma's Wayland session: its pointer comes from KWin's script, so
    what KWin spends beyond runs of KWin alone (before the program starts and after it ends,
    pointer still or moving alike) is the script's and counts with the program's own."""

    def kwin_alone(self):  # {moving: KWin's share of a core}, no program running
        shares = {}
        for moving in (False, True):
            (used,), wall = self.cpu(moving, [self.session.kwin.pid])
            shares[moving] = 100 * used / wall
        return shares

    def test_figures(self):
        kwin = self.session.kwin.pid
        time.sleep(2)  # KWin's start-up work done
        before = self.kwin_alone()
        self.start_parked()
        time.sleep(2)
        self.memory("memory at idle after start")
        with_program = {}
        for moving in (False, True):
            (used, kwin_used), wall = self.cpu(moving, [kwin])
            with_program[moving] = (100 * used / wall, 100 * kwin_used / wall)
            if not moving:
                self.memory("memory at idle")
        self.dwell_latency(20)
        self.memory("memory at the end")
        self.run.stop()
        self.run = None
        time.sleep(2)
        after = self.kwin_alone()
        for moving in (False, True):
            share, kwin_share = with_program[moving]
            alone = (before[moving] + after[moving]) / 2
            print(f"{self.cpu_title(moving):34} {share + kwin_share - alone:.3f} % of a core: "
                  f"program {share:.3f} % + KWin {kwin_share - alone:+.3f} % (KWin {kwin_share:.3f}"
                  f" %; alone {before[moving]:.3f} % before, {after[moving]:.3f} % after)",
                  flush=True)

    def moved_at(self, x, y):
        """The time of the fake-input motion, sent now, as Xwayland stamps events: its clock is
        CLOCK_MONOTONIC in ms (as time.monotonic), cut to 32 bits."""
        sent = int(time.monotonic() * 1000) & 0xFFFFFFFF
        self.pointer.move(x, y)
        return sent


if __name__ == "__main__":
    SECONDS = max(5, int(sys.argv[1])) if len(sys.argv) > 1 and sys.argv[1].isdigit() else 60
    bench = KWinLiveBench if "--kwin" in sys.argv else LiveBench
    result = unittest.TextTestRunner(stream=sys.stderr, verbosity=0).run(bench("test_figures"))
    sys.exit(0 if result.wasSuccessful() else 1)
