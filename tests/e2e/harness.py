"""End-to-end harness: the built program folder runs on a private Xvfb, driven through XTest
like a user's pointer (Debian's python3-xlib). Its names are a stable API (only additions): the
constants (Button, BUTTON_RECTS, BAR_*, SETTINGS ...), Process, Server, SessionBus, Run, Sandbox,
XClient, Recorder, HandPointer, press_key, ClickMonitor, TrayHost, VersionServer, and
ProgramTestCase with the user's steps (start_parked, move_onto, rest_at, open_from_bar, answer,
check_edge ...); each says what it does where it is defined.
"""
import collections, enum, http.server, os, re, shutil, signal, struct, subprocess, sys
import tempfile, threading, time, unittest
from pathlib import Path
from Xlib import X, XK, Xatom, display as xdisplay, error as xerror, protocol as xproto
from Xlib.ext import record, xinput, xtest
from Xlib.protocol import display as xprotocol, rq

_connect = xprotocol.Display.__init__
# python-xlib shares one table of extension opcodes between all servers otherwise.
xprotocol.Display.__init__ = lambda self, *a: (setattr(self, "extension_major_opcodes", {}),
                                               _connect(self, *a))[1]


def wait_until(predicate, timeout, step=0.02):
    deadline = time.monotonic() + timeout
    while not (value := predicate()) and time.monotonic() < deadline:
        time.sleep(step)
    return value or None


press, release = "press {}".format, "release {}".format
LEFT = [press(1), release(1)]
Rect = collections.namedtuple("Rect", "x y w h")
Rect.centre = property(lambda r: (r.x + r.w // 2, r.y + r.h // 2))
inside = lambda win, offset: (win.rect.x + offset[0], win.rect.y + offset[1])
Button = enum.IntEnum("Button", "EXIT NO_CLICK DOUBLE LEFT DRAG RIGHT MIDDLE OPTIONS HELP", start=0)
# The bar on a 1280x1024 screen at 96 dpi, middle-click button hidden: vertically centred.
BAR_WIDTH, BAR_HEIGHT, BAR_TOP = 45, 359, 294
BUTTON_RECTS = dict(zip(Button, (Rect(18, 0, 26, 32), Rect(0, 36, 45, 50), Rect(0, 86, 45, 52),
    Rect(0, 138, 45, 50), Rect(0, 188, 45, 50), Rect(0, 238, 45, 50), None,  # middle: hidden
    Rect(0, 290, 45, 28), Rect(0, 322, 45, 33))))
# Tolerance 2, delay 5 tenths, no autostart, English, sounds off, middle-click button hidden,
# left edge only, left click.
SETTINGS = "2\r\n5\r\n0\r\nEnglish.lng\r\n0\r\n0\r\n0\r\n3\r\n"
# The recorder keeps clear of the bar and the program's windows nearer the middle.
RECORDER_PLACE, ELSEWHERE, PROGRAM_NAME = Rect(960, 760, 240, 180), (1150, 60), "Tindro Zevad Free"
EXIT_SIZE, OPTIONS_SIZE, PATH = (361, 149), (561, 396), "/usr/local/bin:/usr/bin:/bin"


def pending(d):  # the events a python-xlib Display has queued
    return [d.next_event() for _ in range(d.pending_events())]


def proc_status(pid, key):  # the number of a line of /proc/PID/status, such as "VmHWM:"
    lines = Path(f"/proc/{pid}/status").read_text().splitlines()
    return next((int(line.split()[1]) for line in lines if line.startswith(key)), -1)


class Process(subprocess.Popen):
    def __init__(self, args, **options):
        super().__init__(args, process_group=0, **{"stdin": subprocess.DEVNULL, **options})

    def running(self): return self.poll() is None

    def kill(self): self.running() and os.killpg(self.pid, signal.SIGKILL)

    def stop(self, grace=5):  # SIGTERM, then SIGKILL to the group; the return code
        self.terminate()
        wait_until(lambda: not self.running(), grace) or self.kill()
        return self.wait(5)

    def first_line(self, what):  # what it writes first, once it is up, on its piped stdout
        line = self.stdout.readline().decode().strip()
        self.stdout.close()
        if not line:
            self.stop()
            raise RuntimeError(f"{self.args[0]} did not report {what}")
        return line


class Server(Process):
    def __init__(self, args, outer_display=None):
        super().__init__([args[0], "-displayfd", "1", *args[1:]], stdout=subprocess.PIPE,
                         stderr=subprocess.DEVNULL,
                         env=dict(os.environ, DISPLAY=outer_display) if outer_display else None)
        self.display = ":" + self.first_line("a display number")


class SessionBus(Process):
    def __init__(self, env, log=subprocess.DEVNULL):
        super().__init__(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                         stdout=subprocess.PIPE, stderr=log, env=env)
        self.address = self.first_line("an address")


class Sandbox:
    """The program folder's copy, HOME, XDG dirs and TMPDIR, for this test alone."""
    SETTINGS_NAME = "Tindro Zevad.ini"

    def __init__(self):
        self.root, self.logs = tempfile.mkdtemp(prefix="tz-e2e-"), 0
        for name in ("program", "home", "runtime", "tmp"):
            setattr(self, name, f"{self.root}/{name}")
        self.config, self.executable = f"{self.home}/.config", f"{self.program}/tindro-zevad"
        self.settings_path = f"{self.program}/{self.SETTINGS_NAME}"
        shutil.copytree(os.environ["TZ_DIST_DIR"], self.program, symlinks=True)
        # The test build asks only a test's version server: no start waits for the network.
        shutil.copyfile(os.environ["TZ_E2E_PROGRAM"], self.executable)
        for folder in (self.config, self.runtime, self.tmp, f"{self.root}/logs"):
            os.makedirs(folder, 0o700)
        self.pulse_config = f"{self.root}/pulse-client.conf"  # starts no sound server
        self.write_file("../pulse-client.conf", "autospawn = no\n")

    def remove(self):
        for folder, _, _ in os.walk(self.root):  # a read-only folder can then go too
            os.chmod(folder, 0o700)
        shutil.rmtree(self.root)

    def write_file(self, relative, data):
        Path(self.program, relative).write_bytes(data.encode() if isinstance(data, str) else data)

    def read_file(self, relative):
        return path.read_bytes() if (path := Path(self.program, relative)).exists() else None

    def write_settings(self, data): self.write_file(self.SETTINGS_NAME, data)

    def read_settings(self): return self.read_file(self.SETTINGS_NAME)

    def settings_line(self, n):  # CR LF cut off; None when absent
        lines = (self.read_settings() or b"").splitlines()
        return lines[n - 1].decode("latin-1") if n <= len(lines) else None


class Run(Process):
    """The program, environment built from scratch, started from HOME like a launcher does."""

    def __init__(self, sandbox, display, locale="C.UTF-8", env=None, args=(), executable=None):
        environment = {"DISPLAY": display, "HOME": sandbox.home, "XDG_RUNTIME_DIR":
                       sandbox.runtime, "XDG_CONFIG_HOME": sandbox.config, "TMPDIR": sandbox.tmp,
                       "PATH": PATH, "LANG": locale, "LC_ALL": locale,
                       "QT_QPA_PLATFORM": "xcb", "PULSE_CLIENTCONFIG": sandbox.pulse_config,
                       # No session bus unless a test gives one: left to itself, the D-Bus
                       # library would launch a bus per run that outlives the test.
                       "DBUS_SESSION_BUS_ADDRESS": f"unix:path={sandbox.runtime}/no-bus"}
        environment.update((n, v) for n, v in os.environ.items() if n.endswith("SAN_OPTIONS"))
        sandbox.logs += 1
        self.log_path = f"{sandbox.root}/logs/program-{sandbox.logs}.log"
        with open(self.log_path, "wb") as log:
            super().__init__([executable or sandbox.executable, *args], cwd=sandbox.home,
                             env={**environment, **(env or {})}, stdout=log, stderr=log)

    def log(self): return Path(self.log_path).read_text(errors="replace")


Win = collections.namedtuple("Win", "id rect map_state title wm_class pid")
Win.viewable = property(lambda w: w.map_state == X.IsViewable)


class XClient:
    """The test's own connection: XTest pointer motion and the top-level windows."""

    def __init__(self, display):
        self.d, self.events = xdisplay.Display(display), []
        self.root, self.close = self.d.screen().root, self.d.close
        self.root.change_attributes(event_mask=X.SubstructureNotifyMask)
        self.name, self.pid = map(self.d.intern_atom, ("_NET_WM_NAME", "_NET_WM_PID"))

    def move(self, x, y=None):  # to (x, y) or to the point x
        x, y = x if y is None else (x, y)
        xtest.fake_input(self.d, X.MotionNotify, x=x, y=y)
        self.d.sync()

    def click(self, button=1):  # through XTest: this client's pointer, the core one unless set
        for kind in (X.ButtonPress, X.ButtonRelease):
            xtest.fake_input(self.d, kind, button)
        self.d.sync()

    def warp(self, x, y):  # XTest motion stays on the first of Xinerama's screens
        self.root.warp_pointer(x, y)
        self.d.sync()

    def windows(self):  # the children of the root window, bottom to top
        return [w for w in map(self._info, self.root.query_tree().children) if w]

    def _info(self, w):
        try:
            a, g, title = w.get_attributes(), w.get_geometry(), w.get_full_property(self.name, 0)
            pid, wm_class = w.get_full_property(self.pid, Xatom.CARDINAL), w.get_wm_class()
        except xerror.XError:
            return None  # gone meanwhile
        title = title.value.decode(errors="replace") if title else ""
        return Win(w.id, Rect(g.x + g.border_width, g.y + g.border_width, g.width, g.height),
                   a.map_state, title, wm_class or ("", ""), pid.value[0] if pid else -1)

    def find(self, predicate): return [w for w in self.windows() if predicate(w)]

    def first(self, predicate): return next(iter(self.find(predicate)), None)

    def atom(self, name): return self.d.intern_atom(name)

    def _root_windows(self, name):  # a root property listing windows
        value = self.root.get_full_property(self.atom(name), Xatom.WINDOW)
        return list(value.value) if value else []

    def managed(self):  # the window manager's clients, bottom to top (each Win's rect: unframed)
        ids = self._root_windows("_NET_CLIENT_LIST_STACKING")
        return [w for i in ids if (w := self._info(self.d.create_resource_object("window", i)))]

    def activate(self, window):  # as a taskbar or pager asks, which a window manager grants
        def active():
            if self._root_windows("_NET_ACTIVE_WINDOW")[:1] == [window]:
                return True
            self.root.send_event(xproto.event.ClientMessage(
                window=self.d.create_resource_object("window", window),
                client_type=self.atom("_NET_ACTIVE_WINDOW"), data=(32, [2, X.CurrentTime, 0, 0,
                0])), X.SubstructureRedirectMask | X.SubstructureNotifyMask)
            self.d.sync()
        return wait_until(active, 10, 0.2)

    def grab_pointer(self):  # every pointer event comes to this client alone
        status = self.root.grab_pointer(False, X.ButtonPressMask | X.PointerMotionMask,
                                        X.GrabModeAsync, X.GrabModeAsync, X.NONE, X.NONE,
                                        X.CurrentTime)
        self.d.sync()
        assert status == X.GrabSuccess, f"pointer grab refused: {status}"

    def ungrab_pointer(self):
        self.d.ungrab_pointer(X.CurrentTime)
        self.d.sync()

    def window_events(self):
        """Top-level windows mapped and unmapped since this connection opened, in order."""
        self.d.sync()
        self.events += [("map" if e.type == X.MapNotify else "unmap", e.window.id)
                        for e in pending(self.d) if e.type in (X.MapNotify, X.UnmapNotify)]
        return list(self.events)

    def grab(self, rect):  # the luminance (0-255) of each pixel, row by row
        data = self.root.get_image(*rect, X.ZPixmap, 0xffffffff).data  # 32 bits, blue first
        return [[(data[i + 2] * 299 + data[i + 1] * 587 + data[i] * 114) // 1000
                 for i in range(row * rect.w * 4, (row + 1) * rect.w * 4, 4)]
                for row in range(rect.h)]


def bottom_buttons(shot, rect):
    """A dialog's bottom buttons: frames darker than its face, 40+ px wide, 80- px high."""
    dark = ["".join("01"[v + 40 < shot[-3][-3]] for v in row) for row in shot]
    for y in range(rect.h - 1, rect.h // 2 - 1, -1):  # the lowest row with long dark runs
        if runs := [m.span() for m in re.finditer("1{40,}", dark[y])]:
            break
    else:
        return []
    # The top edges: rows above, dark along most of the span.
    tops = [(a, b, next((t for t in range(y - 4, max(-1, y - 81), -1)
                         if dark[t][a:b].count("1") * 5 >= (b - a) * 4), None)) for a, b in runs]
    return [Rect(rect.x + a, rect.y + t, b - a, y - t + 1) for a, b, t in tops if t is not None]


class Recorder:
    """A window of the test's own recording the button events it gets: out of the window
    manager's hands, or full_screen, one it manages that asks for the whole screen."""

    def __init__(self, display, rect=RECORDER_PLACE, full_screen=False):
        self.d, self.rect, self.centre = xdisplay.Display(display), rect, rect.centre
        self.recorded = []
        screen = self.d.screen()
        window = screen.root.create_window(
            *rect, 0, screen.root_depth, background_pixel=screen.white_pixel,
            override_redirect=not full_screen, event_mask=X.ButtonPressMask | X.ButtonReleaseMask)
        if full_screen:
            window.change_property(self.d.intern_atom("_NET_WM_STATE"), Xatom.ATOM, 32,
                                   [self.d.intern_atom("_NET_WM_STATE_FULLSCREEN")])
        window.map()
        self.d.sync()
        self.id, self.close = window.id, self.d.close

    def events(self):
        self.recorded += [(press if e.type == X.ButtonPress else release)(e.detail)
                          for e in pending(self.d) if e.type in (X.ButtonPress, X.ButtonRelease)]
        return list(self.recorded)

    def clear(self):
        self.events()
        self.recorded.clear()

    def wait_events(self, count, timeout):
        return wait_until(lambda: len(self.events()) >= count, timeout, 0.005)


class _XIRequest(rq.Request):  # an XInput 2 request: its minor opcode, its body packed
    _request = rq.Struct(rq.Card8("opcode"), rq.Card8("minor"), rq.RequestLength(),
                         rq.String8("body"))


class HandPointer:
    """A second master pointer (XInput 2) parked in the bottom right corner, over no window. Its
    clicks go through its own XTest device: not the program's, as a hand on a mouse is."""

    def __init__(self, display, name="tz-hand", corner=(1279, 1023)):
        self.d = xdisplay.Display(display)
        self.d.xinput_query_version()
        padded = name.encode() + b"\0" * (-len(name) % 4)  # XIAddMaster, sending core events
        self._xi(43, f"=B3xHHHBB{len(padded)}s", 1, 1, 2 + len(padded) // 4, len(name), 1, 1,
                 padded)
        self.master = next(d.deviceid for d in self.d.xinput_query_device(xinput.AllDevices)
                           .devices if d.name == name + " pointer")
        self._xi(44, "=IH2x", 0, self.master)  # XISetClientPointer: this client's XTest goes there
        self._xi(41, "=IIiiHHiiH2x", 0, self.d.screen().root.id, 0, 0, 0, 0, corner[0] << 16,
                 corner[1] << 16, self.master)  # XIWarpPointer
        self.d.sync()

    def _xi(self, minor, layout, *values):
        _XIRequest(display=self.d.display, opcode=self.d.display.get_extension_major(
            xinput.extname), minor=minor, body=struct.pack(layout, *values))

    click = XClient.click

    def close(self):  # XIRemoveMaster, its slaves floating
        self._xi(43, "=B3xHHHBxHH", 1, 2, 3, self.master, 2, 0, 0)
        self.d.close()


def press_key(display, name):  # a key pressed and released through XTest
    d = xdisplay.Display(display)
    keycode = d.keysym_to_keycode(XK.string_to_keysym(name))
    for kind in (X.KeyPress, X.KeyRelease):
        xtest.fake_input(d, kind, keycode)
    d.sync()
    d.close()


class ClickMonitor:
    """Every button event on the display, wherever it goes (RECORD extension)."""

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
        assert self.started.wait(10), "RECORD did not start"

    def _intercept(self, reply):
        self.started.set()
        data = reply.data if reply.category == record.FromServer else b""
        while data:
            e, data = rq.EventField(None).parse_binary_value(data, self.data.display, None, None)
            if e.type in (X.ButtonPress, X.ButtonRelease):
                self.recorded.append((e.detail, e.type == X.ButtonPress, (e.root_x, e.root_y)))

    def events(self): return list(self.recorded)

    def clear(self): self.recorded.clear()

    def close(self):
        self.control.record_disable_context(self.context)
        self.control.close()  # sends the request first
        self.thread.join(5)
        self.data.close()


class TrayHost:
    """A system tray of the test's own (XEmbed) at the top right: icons dock in a row."""
    RECT = Rect(1180, 0, 100, 40)

    def __init__(self, display):
        self.d, self.icons, self.stopped = xdisplay.Display(display), [], threading.Event()
        root, depth = self.d.screen().root, self.d.screen().root_depth
        self.window = root.create_window(*self.RECT, 0, depth, override_redirect=True,
                                         background_pixel=self.d.screen().black_pixel)
        self.window.map()
        tray, self.opcode = map(self.d.intern_atom, ("_NET_SYSTEM_TRAY_S0",
                                                     "_NET_SYSTEM_TRAY_OPCODE"))
        self.window.set_selection_owner(tray, X.CurrentTime)
        root.send_event(xproto.event.ClientMessage(  # tells waiting icons the tray is here
            window=root, client_type=self.d.intern_atom("MANAGER"),
            data=(32, [X.CurrentTime, tray, self.window.id, 0, 0])), X.StructureNotifyMask)
        self.d.sync()
        self.thread = threading.Thread(target=self._dock, daemon=True)
        self.thread.start()

    def _dock(self):  # answers "dock me" requests (opcode 0) until closed
        while not self.stopped.wait(0.02):
            for e in pending(self.d):
                if e.type == X.ClientMessage and e.client_type == self.opcode and not e.data[1][1]:
                    icon, x = self.d.create_resource_object("window", e.data[1][2]), 4 + 36 * len(
                        self.icons)
                    icon.reparent(self.window, x, 4)
                    icon.configure(width=32, height=32)
                    icon.map()
                    self.d.sync()
                    self.icons.append(Rect(self.RECT.x + x, self.RECT.y + 4, 32, 32))

    def close(self):
        self.stopped.set()
        self.thread.join(5)
        self.d.close()


class VersionServer:
    """Asked by the test build (test-version-url.txt): answers with body."""

    def __init__(self, sandbox, body=""):
        self.requests, server = 0, self

        class Handler(http.server.BaseHTTPRequestHandler):
            log_message = lambda *args: None

            def do_GET(self):
                server.requests += 1
                self.send_response(200)
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body.encode())

        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        sandbox.write_file("test-version-url.txt",
                           f"http://127.0.0.1:{self.httpd.server_port}/ver_tindromouse.txt\n")
        threading.Thread(target=self.httpd.serve_forever, args=[0.05], daemon=True).start()

    def stop(self):
        self.httpd.shutdown()
        self.httpd.server_close()


class ProgramTestCase(unittest.TestCase):
    """A private display with a recorder and a click monitor, a sandbox holding SETTINGS."""
    SCREEN, bar_width = "1280x1024x24", BAR_WIDTH

    def setUp(self):
        self.sandbox = Sandbox()
        self.addCleanup(self.sandbox.remove)
        self.sandbox.write_settings(SETTINGS)
        self.open_display()
        self.runs, self.run, self.bar_pid = [], None, None
        self.addCleanup(self._stop_runs)

    def open_display(self):  # self.display with .x, .recorder and .monitor on it
        self.xvfb = Server(["Xvfb", "-screen", "0", self.SCREEN, "-nolisten", "tcp", "-noreset"])
        self.addCleanup(self.xvfb.stop)
        self.display = self.xvfb.display
        self.own(x=XClient(self.display), recorder=Recorder(self.display),
                 monitor=ClickMonitor(self.display))
        self.x.move(ELSEWHERE)

    def own(self, **closables):  # set as attributes, closed at the end
        for name, value in closables.items():
            setattr(self, name, value)
            self.addCleanup(value.close)

    def failed(self):  # failures are reported as they happen
        result = self._outcome.result
        return any(getattr(test, "test_case", test) is self
                   for test, _ in result.failures + result.errors)

    def _stop_runs(self):
        failed = self.failed()
        for run in self.runs:
            code = run.stop()
            if failed:
                sys.stderr.write(f"---- {run.log_path} (return code {code})\n{run.log()}----\n")

    def nest(self, xephyr_args):  # the programs from now on run on a Xephyr on the display
        nested = Server(["Xephyr", *xephyr_args, "-nolisten", "tcp", "-noreset"], self.display)
        self.addCleanup(nested.stop)
        self.outer, self.display = self.x, nested.display
        self.own(x=XClient(nested.display))

    def start_window_manager(self):  # openbox, its settings and files the sandbox's alone
        home, root = self.sandbox.home, self.sandbox.root
        Path(root, "openbox.xml").write_text(
            '<?xml version="1.0"?>\n<openbox_config xmlns="http://openbox.org/3.4/rc">'
            '<theme><name>plain</name></theme></openbox_config>\n')
        (theme := Path(root, "xdg/themes/plain/openbox-3")).mkdir(parents=True)
        Path(theme, "themerc").write_text("")  # its defaults: openbox needs a theme
        env = {"DISPLAY": self.display, "HOME": home, "PATH": PATH,
               "XDG_CONFIG_HOME": self.sandbox.config, "XDG_CONFIG_DIRS": f"{root}/xdg",
               "XDG_DATA_HOME": f"{home}/.local/share", "XDG_DATA_DIRS": f"{root}/xdg",
               "XDG_CACHE_HOME": f"{home}/.cache", "XDG_RUNTIME_DIR": self.sandbox.runtime}
        with open(f"{root}/logs/openbox.log", "wb") as log:
            wm = Process(["openbox", "--sm-disable", "--config-file", f"{root}/openbox.xml"],
                         env=env, cwd=home, stdout=log, stderr=log)
        self.addCleanup(wm.stop)
        check = self.x.atom("_NET_SUPPORTING_WM_CHECK")
        self.assertTrue(wait_until(lambda: self.x.root.get_full_property(check, Xatom.WINDOW),
                                   10) and wm.running(), "openbox did not start")
        return wm

    def start(self, follow_bar=True, **options):  # the last run followed has its bar driven
        self.runs.append(run := Run(self.sandbox, self.display, **options))
        self.run, self.bar_pid = run, run.pid if follow_bar else self.bar_pid
        return run

    def start_parked(self, **options):
        run = self.start(**options)
        self.assertTrue(self.wait_parked(30), "no bar shown, then hidden\n" + self.windows())
        return run

    def windows(self): return "windows:\n" + "".join(f"  {w}\n" for w in self.x.windows())

    def bar(self):  # a top-level window 45 px wide of the followed run
        return self.x.first(lambda w: w.rect.w == self.bar_width and w.pid == self.bar_pid)

    def countdown(self):  # the followed run's countdown ring (or pause sign), when it shows
        return self.x.first(lambda w: w.pid == self.bar_pid and w.viewable and
                            w.rect.w == w.rect.h and w.rect.w <= 64)

    def tray_icon(self):  # a tray of the test's own (closed at the end), once it holds the icon
        self.own(tray=TrayHost(self.display))
        icon = wait_until(lambda: self.tray.icons and self.tray.icons[0], 15)
        self.assertTrue(icon, "the program put no icon into the tray")
        return icon

    def open_tray_menu(self, icon, item=None):  # rests on the icon until its menu shows
        self.x.move(icon.centre)
        menu = wait_until(lambda: self.x.first(lambda w: w.pid == self.bar_pid and w.viewable
                                               and w.rect.h > 150 and w.rect.w > 100), 10)
        self.assertTrue(menu, "no menu after resting on the tray icon\n" + self.windows())
        if item is not None:  # then rests on its first (0) or last (-1) item
            self.x.move(menu.rect.centre[0], menu.rect.y + (12 if item == 0 else menu.rect.h - 12))
        return menu

    def wait_parked(self, timeout):
        """Once the bar, shown before, is hidden (where is not checked: Qt moves it on showing)."""
        return wait_until(lambda: (bar := self.bar()) and bar.map_state == X.IsUnmapped and
                          ("map", bar.id) in self.x.window_events(), timeout)

    def show_at_edge(self, y, timeout=10):  # the bar once shown at x = 0, else None
        self.x.move(0, y)
        time.sleep(0.25)  # two of the program's ticks, whatever it saw last
        return wait_until(lambda: (b := self.bar()) and b.viewable and b.rect.x == 0 and b, timeout)

    def check_edge(self):  # at the left edge the bar shows in its place and stays; then goes
        shown = self.show_at_edge(100)
        self.assertEqual(shown and shown.rect, Rect(0, BAR_TOP, BAR_WIDTH, BAR_HEIGHT))
        time.sleep(0.3)
        self.assertTrue(self.bar().viewable, "the bar went away with the pointer at the edge")
        self.x.move(ELSEWHERE)
        self.assertTrue(wait_until(lambda: not self.bar().viewable, 10), self.windows())

    def move_onto(self, target, timeout=10):
        """Calls up the bar, rests on a Button or a point relative to the bar."""
        spot = BUTTON_RECTS[target].centre if isinstance(target, Button) else target
        shown = self.show_at_edge(BAR_TOP + spot[1], timeout)
        self.assertTrue(shown, "the bar did not appear\n" + self.windows())
        self.x.move(shown.rect.x + spot[0], shown.rect.y + spot[1])
        time.sleep(0.15)  # the toolkit keeps only the last of queued moves: let it take this
        return shown

    def open_from_bar(self, button):  # rests on the exit or options button until its window shows
        self.move_onto(button)
        return self.wait_window(size=EXIT_SIZE if button == Button.EXIT else OPTIONS_SIZE)

    def settings_line(self, n): return self.sandbox.settings_line(n)

    def wait_settings_line(self, n, value, timeout=10):
        self.assertTrue(wait_until(lambda: self.settings_line(n) == value, timeout),
                        f"line {n} of the settings is not {value}: {self.sandbox.read_settings()}")

    def choose(self, button):  # a click kind picked on the bar, once saved as line 8
        self.move_onto(button)
        self.wait_settings_line(8, str(int(button)))

    def rest_at(self, point, count, timeout=10):
        """The events of a rest once count came (or timeout), after a grace for surplus ones."""
        self.recorder.clear()
        self.x.move(point)
        self.recorder.wait_events(count, timeout)
        time.sleep(1.5 if count == 0 else 0.5)
        return self.recorder.events()

    def rest_and_click(self, point, timeout=10):  # until the program's left click lands there
        self.monitor.clear()
        self.x.move(point)
        self.assertTrue(wait_until(lambda: (1, False, tuple(point)) in self.monitor.events(),
                                   timeout), f"no click at {point}: {self.monitor.events()}")

    def wait_window(self, title=None, size=None, pid=None, timeout=10):
        """A viewable top-level window of the last run (or pid) with that title or size, once its
        place has held for three looks: a window may be laid out again after it maps."""
        looks = collections.deque(maxlen=3)

        def settled():
            looks.append(self.x.first(lambda v: v.pid == (pid or self.run.pid) and v.viewable
                                      and title in (None, v.title) and size in (None, v.rect[2:])))
            return len(looks) == 3 and looks[0] and looks.count(looks[0]) == 3 and looks[0]
        win = wait_until(settled, timeout, 0.05)
        self.assertTrue(win, f"no window {title or size}\n" + self.windows())
        return win

    def answer(self, win, offset):  # rests on its control at offset until the window goes
        self.rest_and_click(inside(win, offset))
        self.wait_gone(win)

    def wait_gone(self, win, timeout=10):
        gone = wait_until(lambda: not self.x.find(lambda v: v.id == win.id and v.viewable), timeout)
        self.assertTrue(gone, f"{win} stayed\n" + self.windows())

    def wait_buttons(self, win, count, timeout=10):  # once count of them are drawn
        found = wait_until(lambda: len(b := bottom_buttons(self.x.grab(win.rect), win.rect))
                           == count and b, timeout, 0.1)
        self.assertTrue(found, f"not {count} buttons on {win}")
        return found

    def serve(self, body):
        server = VersionServer(self.sandbox, body)
        self.addCleanup(server.stop)
        return server
