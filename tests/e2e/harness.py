"""End-to-end harness: the built program folder runs on a private Xvfb and is
driven through XTest like a user's pointer (Debian's python3-xlib).

API (stable; only additions):
  wait_until(predicate, timeout, step=0.02) -> the first true value, else None
  Rect(x, y, w, h) with .centre; press(b) / release(b) -> "press 1" / "release 1"
  Button (IntEnum, value = click mode) and BUTTON_RECTS (relative to the bar); BAR_WIDTH,
  BAR_HEIGHT, BAR_TOP, BAR_BACKGROUND; SETTINGS, ELSEWHERE, RECORDER_PLACE, PROGRAM_NAME
  folder_entries(path), proc_status(pid, "VmHWM:")
  Server(args, outer_display=None)   Xvfb / Xephyr started with -displayfd; .display, .stop()
  Sandbox()  temp root: .program (copy of the program folder with the test build of the
      program), .home, .config, .runtime, .tmp, .executable, .settings_path; write_settings,
      read_settings, settings_line(n), write_file / read_file / remove_file (relative to
      .program), make_read_only(), new_log()
  Run        one run of the program: .pid, .proc, running(), wait(timeout) -> return code or
      None, terminate(), kill() (its process group), stop(grace) -> return code, log()
  XClient    move(x, y) (XTest), warp(x, y), pointer(), screen(), resize(id, w, h),
      windows() -> [Win(id, rect, map_state, title, wm_class, pid) with .viewable],
      find(pred), wait_window(pred, timeout), window_events() -> [(kind, id)] since it opened
      ("create", "map", "unmap", "configure", "destroy"), was_mapped(id), grab(rect)
  Recorder   a window of its own recording the button events it gets: .rect, .id,
      events(), clear(), wait_events(count, timeout)
  ClickMonitor  every button event on the display (XRecord): events() ->
      [(button, pressed, (x, y))], clear()
  VersionServer(sandbox, behaviour="answer"|"silent"|"flood", body="", flood=64 MiB):
      .requests, wait_requests(n, timeout), .bytes_sent, .peer_left_early, stop()
  ProgramTestCase(unittest.TestCase)  per test: .xvfb, .display, .sandbox, .x, .recorder,
      .monitor, .runs, .run (the last one); start(locale, env, args, executable, follow_bar),
      start_parked(...), nest(xephyr_args), bar(), wait_parked(timeout), show_at_edge(y),
      move_onto(button or (x, y) on the bar), choose(button), rest_at(point, count),
      rest_and_click(point), wait_window_sized(w, h), wait_for_title(title, pid),
      wait_gone(win), wait_buttons(win, count), other_windows(), wait_settings_line(n, value),
      settings_line(n), serve(behaviour, body), windows(); program logs print when a test fails.
"""
import enum, http.server, os, select, shutil, signal, subprocess, sys, tempfile, threading
import time, unittest
from typing import NamedTuple
from Xlib import X, Xatom, display as xdisplay, error as xerror
from Xlib.ext import record, xtest
from Xlib.protocol import display as xprotocol, rq

_connect = xprotocol.Display.__init__


def _own_opcodes(self, *args):  # python-xlib shares one table between servers otherwise
    self.extension_major_opcodes = {}
    _connect(self, *args)


xprotocol.Display.__init__ = _own_opcodes


def wait_until(predicate, timeout, step=0.02):
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value or time.monotonic() >= deadline:
            return value or None
        time.sleep(step)


class Rect(NamedTuple):
    x: int
    y: int
    w: int
    h: int

    @property
    def centre(self):
        return (self.x + self.w // 2, self.y + self.h // 2)


def press(button):
    return f"press {button}"


def release(button):
    return f"release {button}"


class Button(enum.IntEnum):  # the value is the click mode for NO_CLICK..MIDDLE
    EXIT, NO_CLICK, DOUBLE, LEFT, DRAG, RIGHT, MIDDLE, OPTIONS, HELP = range(9)


# The bar on a 1280x1024 screen at 96 dpi, middle-click button hidden: vertically centred.
BAR_WIDTH, BAR_HEIGHT, BAR_TOP = 45, 359, 294
BUTTON_RECTS = {Button.EXIT: Rect(18, 0, 26, 32), Button.NO_CLICK: Rect(0, 36, 45, 50),
                Button.DOUBLE: Rect(0, 86, 45, 52), Button.LEFT: Rect(0, 138, 45, 50),
                Button.DRAG: Rect(0, 188, 45, 50), Button.RIGHT: Rect(0, 238, 45, 50),
                Button.OPTIONS: Rect(0, 290, 45, 28), Button.HELP: Rect(0, 322, 45, 33)}
BAR_BACKGROUND = (5, 5)  # bare background beside the exit button
# Tolerance 2, delay 5 tenths, no autostart, English, sounds off, middle-click button
# hidden, left edge only, left click.
SETTINGS = "2\r\n5\r\n0\r\nEnglish.lng\r\n0\r\n0\r\n0\r\n3\r\n"
# Clear of the bar, the program's windows and message boxes nearer the middle.
RECORDER_PLACE = Rect(960, 760, 240, 180)
ELSEWHERE = (1150, 60)  # nothing there at all
PROGRAM_NAME = "Tindro Zevad Free"


def folder_entries(path):
    return sorted(os.listdir(path))


def proc_status(pid, key):
    """The first number of a line of /proc/PID/status ("VmHWM:"); -1 if none."""
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith(key):
                return int(line.split()[1])
    return -1


class Server:
    """An X server (Xvfb, or Xephyr on `outer_display`) on a display number it picks."""

    def __init__(self, args, outer_display=None):
        read, write = os.pipe()
        env = dict(os.environ, DISPLAY=outer_display) if outer_display else None
        self.proc = subprocess.Popen([args[0], "-displayfd", str(write), *args[1:]], env=env,
                                     pass_fds=(write,), stdin=subprocess.DEVNULL,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        text = b""
        while b"\n" not in text and select.select([read], [], [], 30)[0]:
            chunk = os.read(read, 32)
            if not chunk:
                break
            text += chunk
        os.close(read)
        if b"\n" not in text:
            self.stop()
            raise RuntimeError(f"{args[0]} did not report a display number")
        self.display = ":" + text.decode().strip()

    def stop(self):
        self.proc.terminate()
        try:
            self.proc.wait(5)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()


class Sandbox:
    """A copy of the program folder, a private HOME (XDG_CONFIG_HOME inside), runtime
    folder and TMPDIR under a fresh temporary root, so parallel runs share nothing."""
    SETTINGS_NAME = "Tindro Zevad.ini"

    def __init__(self, dist=None):
        dist = dist or os.environ["TZ_DIST_DIR"]
        if not os.path.isdir(dist):
            raise RuntimeError(f"program folder not found: {dist} (build the program first)")
        self.root = tempfile.mkdtemp(prefix="tz-e2e-")
        self.program, self.home = f"{self.root}/program", f"{self.root}/home"
        self.config, self.runtime, self.tmp = f"{self.home}/.config", f"{self.root}/runtime", \
            f"{self.root}/tmp"
        shutil.copytree(dist, self.program, symlinks=True)
        # The test build asks the version server of a test, if any, so no start waits
        # for the network.
        e2e = os.environ.get("TZ_E2E_PROGRAM")
        if e2e and os.path.samefile(dist, os.environ["TZ_DIST_DIR"]):
            shutil.copyfile(e2e, self.executable)
        for folder in (self.config, self.runtime, self.tmp, f"{self.root}/logs"):
            os.makedirs(folder)
        os.chmod(self.runtime, 0o700)
        self.pulse_config = f"{self.root}/pulse-client.conf"
        with open(self.pulse_config, "w") as f:
            f.write("autospawn = no\n")  # no sound server started on the program's behalf
        self.logs = 0

    executable = property(lambda self: f"{self.program}/tindro-zevad")
    settings_path = property(lambda self: f"{self.program}/{self.SETTINGS_NAME}")

    def remove(self):
        for folder, _, _ in os.walk(self.root):  # a read-only folder can then go too
            os.chmod(folder, 0o700)
        shutil.rmtree(self.root, ignore_errors=True)

    def write_file(self, relative, data):
        with open(f"{self.program}/{relative}", "wb") as f:
            f.write(data.encode() if isinstance(data, str) else data)

    def read_file(self, relative):
        try:
            with open(f"{self.program}/{relative}", "rb") as f:
                return f.read()
        except FileNotFoundError:
            return None

    def remove_file(self, relative):
        os.remove(f"{self.program}/{relative}")

    def write_settings(self, data):
        self.write_file(self.SETTINGS_NAME, data)

    def read_settings(self):
        return self.read_file(self.SETTINGS_NAME)

    def settings_line(self, n):
        """Line n (1-based) of the settings file, CR LF cut off; None when absent."""
        lines = (self.read_settings() or b"").split(b"\n")
        return lines[n - 1].rstrip(b"\r").decode("latin-1") if len(lines) > n - 1 and \
            (n < len(lines) or lines[n - 1]) else None

    def make_read_only(self):
        os.chmod(self.program, 0o555)

    def new_log(self, stem):
        self.logs += 1
        return f"{self.root}/logs/{stem}-{self.logs}.log"


class Run:
    """The program in its own process group, environment built from scratch, output to
    a log file; started from HOME as from a desktop launcher."""

    def __init__(self, sandbox, display, locale="C.UTF-8", env=None, args=(), executable=None):
        environment = {"DISPLAY": display, "HOME": sandbox.home, "XDG_RUNTIME_DIR":
                       sandbox.runtime, "XDG_CONFIG_HOME": sandbox.config, "TMPDIR": sandbox.tmp,
                       "PATH": "/usr/local/bin:/usr/bin:/bin", "LANG": locale, "LC_ALL": locale,
                       "QT_QPA_PLATFORM": "xcb", "PULSE_CLIENTCONFIG": sandbox.pulse_config}
        for name in ("ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"):  # the run's sanitizers
            if name in os.environ:
                environment[name] = os.environ[name]
        environment.update(env or {})
        self.log_path = sandbox.new_log("program")
        with open(self.log_path, "wb") as log:
            self.proc = subprocess.Popen([executable or sandbox.executable, *args],
                                         env=environment, cwd=sandbox.home, process_group=0,
                                         stdin=subprocess.DEVNULL, stdout=log, stderr=log)
        self.pid = self.proc.pid

    def running(self):
        return self.proc.poll() is None

    def wait(self, timeout):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def terminate(self):
        if self.running():
            self.proc.terminate()

    def kill(self):
        if self.running():
            os.killpg(self.pid, signal.SIGKILL)

    def stop(self, grace=5):
        self.terminate()
        if self.wait(grace) is None:
            self.kill()
            self.wait(5)
        return self.proc.returncode

    def log(self):
        with open(self.log_path, "rb") as f:
            return f.read().decode(errors="replace")


class Win(NamedTuple):
    id: int
    rect: Rect  # absolute, border excluded
    map_state: int  # X.IsUnmapped, X.IsUnviewable, X.IsViewable
    title: str  # _NET_WM_NAME, else WM_NAME
    wm_class: tuple
    pid: int  # _NET_WM_PID, -1 when absent
    viewable = property(lambda self: self.map_state == X.IsViewable)


class XClient:
    """The test's own connection: XTest pointer motion and the top-level windows."""
    KINDS = {X.CreateNotify: "create", X.MapNotify: "map", X.UnmapNotify: "unmap",
             X.ConfigureNotify: "configure", X.DestroyNotify: "destroy"}

    def __init__(self, display):
        self.d = xdisplay.Display(display)
        self.d.set_error_handler(lambda *args: None)  # windows may vanish under a query
        self.root = self.d.screen().root
        self.root.change_attributes(event_mask=X.SubstructureNotifyMask)
        self.atoms = {n: self.d.intern_atom(n) for n in ("_NET_WM_NAME", "UTF8_STRING",
                                                         "_NET_WM_PID")}
        self.events = []
        self.d.sync()

    def close(self):
        self.d.close()

    def move(self, x, y=None):
        x, y = x if y is None else (x, y)
        xtest.fake_input(self.d, X.MotionNotify, x=x, y=y)
        self.d.sync()

    def warp(self, x, y):  # XTest motion stays on the first of Xinerama's screens
        self.root.warp_pointer(x, y)
        self.d.sync()

    def pointer(self):
        reply = self.root.query_pointer()
        return (reply.root_x, reply.root_y)

    def screen(self):  # asked afresh: a connection keeps the size it opened with
        other = xdisplay.Display(self.d.get_display_name())
        size = (other.screen().width_in_pixels, other.screen().height_in_pixels)
        other.close()
        return size

    def resize(self, window, w, h):
        self.d.create_resource_object("window", window).configure(width=w, height=h)
        self.d.sync()

    def _info(self, w):
        attrs, g = w.get_attributes(), w.get_geometry()
        name = w.get_full_property(self.atoms["_NET_WM_NAME"], self.atoms["UTF8_STRING"]) or \
            w.get_full_property(Xatom.WM_NAME, X.AnyPropertyType)
        pid = w.get_full_property(self.atoms["_NET_WM_PID"], Xatom.CARDINAL)
        title = name.value if name else b""
        return Win(w.id, Rect(g.x + g.border_width, g.y + g.border_width, g.width, g.height),
                   attrs.map_state, title.decode(errors="replace") if isinstance(title, bytes)
                   else title, w.get_wm_class() or ("", ""), pid.value[0] if pid else -1)

    def windows(self):
        """The children of the root window, bottom to top."""
        result = []
        self.d.grab_server()
        try:
            for w in self.root.query_tree().children:
                try:
                    result.append(self._info(w))
                except xerror.XError:
                    pass  # gone meanwhile
        finally:
            self.d.ungrab_server()
            self.d.sync()
        return result

    def find(self, predicate):
        return [w for w in self.windows() if predicate(w)]

    def wait_window(self, predicate, timeout):
        return wait_until(lambda: next(iter(self.find(predicate)), None), timeout)

    def describe(self):
        return "top-level windows:\n" + "".join(f"  {w}\n" for w in self.windows())

    def window_events(self):
        """Every create, map, unmap, configure and destroy of a top-level window since this
        connection opened: unlike polling, it misses no short-lived state."""
        self.d.sync()
        while self.d.pending_events():
            e = self.d.next_event()
            if e.type in self.KINDS:
                self.events.append((self.KINDS[e.type], e.window.id))
        return list(self.events)

    def was_mapped(self, window):
        return ("map", window) in self.window_events()

    def grab(self, rect):
        """The luminance (0-255) of each pixel of `rect`, row by row."""
        image = self.root.get_image(rect.x, rect.y, rect.w, rect.h, X.ZPixmap, 0xffffffff)
        data = image.data  # 32 bits a pixel, blue first
        return [[(data[i + 2] * 299 + data[i + 1] * 587 + data[i] * 114) // 1000
                 for i in range(row * rect.w * 4, (row + 1) * rect.w * 4, 4)]
                for row in range(rect.h)]


def bottom_buttons(shot, rect):
    """The buttons along the bottom of a dialog, found in a grab of it: frames clearly
    darker than the face, at least 40 px wide and at most 80 px high."""
    face = shot[-3][-3]
    dark = [[v + 40 < face for v in row] for row in shot]
    for y in range(rect.h - 1, rect.h // 2 - 1, -1):  # the lowest row with long dark runs
        runs, x = [], 0
        while x < rect.w:
            first = x
            while x < rect.w and dark[y][x]:
                x += 1
            if x - first >= 40:
                runs.append((first, x - 1))
            x += 1 if x == first else 0
        if runs:
            break
    else:
        return []
    buttons = []
    for first, last in runs:  # the top edge: a row above dark along most of the span
        for top in range(y - 4, max(-1, y - 81), -1):
            if sum(dark[top][first:last + 1]) * 5 >= (last - first + 1) * 4:
                buttons.append(Rect(rect.x + first, rect.y + top, last - first + 1, y - top + 1))
                break
    return buttons


class Recorder:
    """An override-redirect window (no window manager needed) on its own connection,
    recording the button presses and releases it gets."""

    def __init__(self, display, rect=RECORDER_PLACE):
        self.d, self.rect = xdisplay.Display(display), rect
        screen = self.d.screen()
        self.window = screen.root.create_window(
            *rect, 0, screen.root_depth, X.InputOutput, X.CopyFromParent,
            background_pixel=screen.white_pixel, override_redirect=True,
            event_mask=X.ButtonPressMask | X.ButtonReleaseMask)
        self.window.set_wm_name("Target")
        self.window.map()
        self.window.configure(stack_mode=X.Above)
        self.id, self.centre, self.recorded = self.window.id, rect.centre, []
        self.d.sync()

    def close(self):
        self.d.close()

    def events(self):
        while self.d.pending_events():
            e = self.d.next_event()
            if e.type in (X.ButtonPress, X.ButtonRelease):
                self.recorded.append((press if e.type == X.ButtonPress else release)(e.detail))
        return list(self.recorded)

    def clear(self):
        self.events()
        self.recorded.clear()

    def wait_events(self, count, timeout):
        return wait_until(lambda: len(self.events()) >= count, timeout, 0.005)


class ClickMonitor:
    """Every button press and release on the display, whichever window gets it (or none),
    through the RECORD extension: proves where the program clicked, or that it did not."""

    def __init__(self, display):
        self.control, self.data = xdisplay.Display(display), xdisplay.Display(display)
        self.context = self.control.record_create_context(0, [record.AllClients], [{
            "core_requests": (0, 0), "core_replies": (0, 0), "ext_requests": (0, 0, 0, 0),
            "ext_replies": (0, 0, 0, 0), "delivered_events": (0, 0), "errors": (0, 0),
            "device_events": (X.ButtonPress, X.ButtonRelease), "client_started": False,
            "client_died": False}])
        self.control.sync()
        self.recorded, self.started = [], threading.Event()
        self.thread = threading.Thread(target=self.data.record_enable_context,
                                       args=(self.context, self._intercept), daemon=True)
        self.thread.start()
        if not self.started.wait(10):
            raise RuntimeError("RECORD did not start")

    def _intercept(self, reply):
        if reply.category == record.StartOfData:
            self.started.set()
        if reply.category != record.FromServer:
            return
        data = reply.data
        while data:
            e, data = rq.EventField(None).parse_binary_value(data, self.data.display, None, None)
            if e.type in (X.ButtonPress, X.ButtonRelease):
                self.recorded.append((e.detail, e.type == X.ButtonPress, (e.root_x, e.root_y)))

    def events(self):
        return list(self.recorded)

    def clear(self):
        self.recorded.clear()

    def close(self):
        self.control.record_disable_context(self.context)
        self.control.sync()
        self.thread.join(5)
        self.control.record_free_context(self.context)
        self.control.close()
        self.data.close()


class VersionServer:
    """The version file server the test build of the program asks, on a thread and a free
    loopback port; the URL goes to test-version-url.txt in the sandbox's program folder.
    "answer": 200 with the body; "silent": reads the request, never answers, holds the
    connection; "flood": 200 without a length, the body, then filler until the peer goes."""

    def __init__(self, sandbox, behaviour="answer", body="", flood=64 << 20):
        self.requests, self.bytes_sent, self.peer_left_early = 0, 0, False
        self.released = threading.Event()
        server = self

        class Handler(http.server.BaseHTTPRequestHandler):
            timeout, protocol_version = 10, "HTTP/1.1"

            def log_message(self, *args):
                pass

            def do_GET(self):
                server.requests += 1
                if behaviour == "silent":
                    server.released.wait()
                    return
                self.send_response(200)
                self.send_header("Content-Type", "text/plain")
                if behaviour == "answer":
                    self.send_header("Content-Length", str(len(body)))
                self.send_header("Connection", "close")
                self.end_headers()
                data = body.encode()
                try:
                    while True:
                        self.wfile.write(data)
                        server.bytes_sent += len(data)
                        if behaviour != "flood" or server.bytes_sent >= flood:
                            break
                        data = b"0" * min(64 << 10, flood - server.bytes_sent)
                except (BrokenPipeError, ConnectionResetError):
                    server.peer_left_early = True
                except OSError:
                    pass  # 10 s without progress

        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.httpd.daemon_threads = True
        self.url_file = f"{sandbox.program}/test-version-url.txt"
        with open(self.url_file, "w") as f:
            f.write(f"http://127.0.0.1:{self.httpd.server_port}/ver_tindromouse.txt\n")
        threading.Thread(target=self.httpd.serve_forever, args=(0.05,), daemon=True).start()

    def wait_requests(self, count, timeout):
        return wait_until(lambda: self.requests >= count, timeout)

    def stop(self):
        if self.httpd:
            self.released.set()
            self.httpd.shutdown()
            self.httpd.server_close()
            self.httpd = None
            os.remove(self.url_file)


class ProgramTestCase(unittest.TestCase):
    """A private display with a click recorder and a click monitor, a sandbox holding
    SETTINGS, and the steps a user takes with the pointer alone."""
    SCREEN, bar_width = "1280x1024x24", BAR_WIDTH

    def setUp(self):
        self.xvfb = Server(["Xvfb", "-screen", "0", self.SCREEN, "-nolisten", "tcp",
                            "-noreset"])
        self.addCleanup(self.xvfb.stop)
        self.display = self.xvfb.display
        self.sandbox = Sandbox()
        self.addCleanup(self.sandbox.remove)
        self.x = XClient(self.display)
        self.addCleanup(self.x.close)
        self.recorder = Recorder(self.display)
        self.addCleanup(self.recorder.close)
        self.monitor = ClickMonitor(self.display)
        self.addCleanup(self.monitor.close)
        self.runs, self.run, self.bar_pid = [], None, None
        self.addCleanup(self._stop_runs)
        self.sandbox.write_settings(SETTINGS)
        self.x.move(ELSEWHERE)

    def _stop_runs(self):
        result = self._outcome.result  # failures are reported as they happen
        failed = any(getattr(test, "test_case", test) is self
                     for test, _ in result.failures + result.errors)
        for run in self.runs:
            code = run.stop()
            if failed:
                sys.stderr.write(f"---- program log {run.log_path} (return code {code})\n"
                                 f"{run.log()}---- end of log\n")

    def nest(self, xephyr_args):
        """Runs the programs from now on on a Xephyr shown on the test's display."""
        nested = Server(["Xephyr", *xephyr_args, "-nolisten", "tcp", "-noreset"], self.display)
        self.addCleanup(nested.stop)
        self.outer, self.display, self.x = self.x, nested.display, XClient(nested.display)
        self.addCleanup(self.x.close)

    def start(self, follow_bar=True, **options):
        """Starts a run (options as Run's); the bar of the last one followed is driven."""
        self.run = Run(self.sandbox, self.display, **options)
        self.runs.append(self.run)
        if follow_bar:
            self.bar_pid = self.run.pid
        return self.run

    def start_parked(self, **options):
        run = self.start(**options)
        self.assertTrue(self.wait_parked(30), "the bar was not shown and then hidden\n"
                        + self.windows())
        return run

    def windows(self):
        return self.x.describe()

    def bar(self):
        """The program's bar: a top-level window 45 px wide of the followed run."""
        return next(iter(self.x.find(lambda w: w.rect.w == self.bar_width and (
            w.pid == self.bar_pid or "tindro-zevad" in map(str.lower, w.wm_class)))), None)

    def wait_parked(self, timeout):
        """Once the bar, after having been shown, is hidden (where X keeps a hidden window
        is not checked: the toolkit applies a move of a hidden window when it shows it)."""
        def parked():
            bar = self.bar()
            return bar and bar.map_state == X.IsUnmapped and self.x.was_mapped(bar.id)
        return wait_until(parked, timeout)

    def show_at_edge(self, y, timeout=5):
        """Touches the left edge at height y; the bar once shown at x = 0, else None."""
        self.x.move(0, y)
        time.sleep(0.25)  # two of the program's ticks, whatever state it saw last
        return wait_until(lambda: next((b for b in [self.bar()] if b and b.viewable and
                                        b.rect.x == 0), None), timeout)

    def move_onto(self, target, timeout=10):
        """Calls up the bar at the target's height and rests on it (a Button's centre, or a
        point relative to the bar); the options and exit buttons open after 1.5 s."""
        spot = BUTTON_RECTS[target].centre if isinstance(target, Button) else target
        shown = self.show_at_edge(BAR_TOP + spot[1], timeout)
        self.assertTrue(shown, "the bar did not appear\n" + self.windows())
        self.x.move(shown.rect.x + spot[0], shown.rect.y + spot[1])
        time.sleep(0.15)  # the toolkit keeps only the last of queued moves: let it take this
        return shown

    def settings_line(self, n):
        return self.sandbox.settings_line(n)

    def wait_settings_line(self, n, value, timeout=10):
        self.assertTrue(wait_until(lambda: self.settings_line(n) == value, timeout),
                        f"line {n} of the settings is not {value}: {self.sandbox.read_settings()}")

    def choose(self, button):
        """Picks a click kind on the bar and waits until it is saved as line 8."""
        self.move_onto(button)
        self.wait_settings_line(8, str(int(button)))

    def rest_at(self, point, count, timeout=10):
        """Moves to point with an empty record; the events once count arrived or timeout
        passed, after a grace for surplus ones (a long one when none are expected)."""
        self.recorder.clear()
        self.x.move(point)
        self.recorder.wait_events(count, timeout)
        time.sleep(1.5 if count == 0 else 0.5)
        return self.recorder.events()

    def rest_and_click(self, point, timeout=10):
        """Rests on point (coming from a few pixels away at least) until the program's
        left click lands there."""
        self.monitor.clear()
        self.x.move(point)
        self.assertTrue(wait_until(lambda: (1, False, tuple(point)) in self.monitor.events(),
                                   timeout), f"no click at {point}: {self.monitor.events()}")

    def wait_window_sized(self, w, h, pid=None, timeout=10):
        pid = pid or self.run.pid
        win = self.x.wait_window(lambda v: v.pid == pid and v.viewable and v.rect[2:] == (w, h),
                                 timeout)
        self.assertTrue(win, f"no {w}x{h} window\n" + self.windows())
        return win

    def wait_for_title(self, title, pid=None, timeout=10):
        pid = pid or self.run.pid
        win = self.x.wait_window(lambda v: v.pid == pid and v.viewable and v.title == title,
                                 timeout)
        self.assertTrue(win, f"no window titled {title!r}\n" + self.windows())
        return win

    def wait_gone(self, win, timeout=10):
        self.assertTrue(wait_until(lambda: not self.x.find(lambda v: v.id == win.id and
                                                           v.viewable), timeout),
                        f"{win} stayed\n" + self.windows())

    def wait_buttons(self, win, count, timeout=10):
        """The buttons along the bottom of a dialog once count of them are drawn."""
        found = wait_until(lambda: [b for b in [bottom_buttons(self.x.grab(win.rect), win.rect)]
                                    if len(b) == count], timeout, 0.1)
        self.assertTrue(found, f"not {count} buttons on {win}")
        return found[0]

    def other_windows(self):
        """Viewable top-level windows of the last run other than the bar."""
        return self.x.find(lambda w: w.viewable and w.pid == self.run.pid and
                           w.rect.w != BAR_WIDTH)

    def serve(self, behaviour="answer", body=""):
        server = VersionServer(self.sandbox, behaviour, body)
        self.addCleanup(server.stop)
        return server
