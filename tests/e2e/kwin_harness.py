"""KWin harness: a real KDE Plasma Wayland compositor (kwin_wayland --virtual, no screen) with its
Xwayland, on a session bus, runtime folder and XDG data folders of the test's own. API:
  KWinSession(root, runtime, size, scale, outputs): size is each output's, in KWin's logical
  pixels, outputs side by side; at a scale above 1 the X clients scale themselves, as Plasma
  has them by default: .display (Xwayland), .wayland (socket name), .env (what a client of the
  session needs), grant_fake_input(executable) and install_menu_entry(executable)
  (the program's own, granting it; both before start()), start(), stop(), log(name);
  FakeInput(session): move(x, y) (to that pixel of Xwayland), click(button), key(code, pressed),
  close(); BTN_LEFT; WaylandRecorder(session, pointer): a native Wayland window filling the
  screen, Recorder's events() and points() (where each came); KWinTestCase (SCALE, OUTPUTS):
  harness.ProgramTestCase's steps in a started session whose fake input the test's tool and the
  sandbox's program (through its menu entry, unless GRANT_PROGRAM is False) may use: .pointer
  (FakeInput), .x (an XClient on Xwayland whose move() is fake input and whose windows() add KWin's
  clients), .recorder (on Xwayland), move_over_x11(point) (the pointer onto an X11 window, once
  Xwayland has it there), bus_call(service, path, method, *args) (dbus-send on the session bus),
  kwin_script_loaded(name), answer_and_wait_end(run) (Return to its message box until it ends),
  start(...) runs the program there (the session's bus, data and cache folders).
The compositor is a plain copy of /usr/bin/kwin_wayland (the installed one carries a file
capability a container may refuse); fake input is granted by .desktop files in the session's own
data folder, read by kbuildsycoca5 on its own bus before KWin starts.
"""
import os, subprocess, sys, threading, time
from pathlib import Path

from Xlib import Xatom, error as xerror, display as xdisplay
from harness import (PATH, Process, ProgramTestCase, Recorder, Rect, SessionBus, XClient,
                     press_key, wait_until)

BTN_LEFT = 272  # Linux input code
FAKE_INPUT_TOOL = os.environ.get("TZ_FAKE_INPUT_TOOL", "")
WAYLAND_RECORDER = os.environ.get("TZ_WAYLAND_RECORDER", "")
MENU_ENTRY = Path(__file__).resolve().parents[2] / \
    "packaging/io.github.tindrozevad.TindroZevad.desktop.in"


class KWinSession:
    def __init__(self, root, runtime, size=(1280, 1024), scale=1, outputs=1):
        self.root, self.size, self.processes, self.grants = root, size, [], 0
        self.scale, self.outputs = scale, outputs
        self.share, home = f"{root}/kwin-share", f"{root}/kwin-home"
        for folder in (f"{self.share}/applications", home, f"{root}/kwin-bin"):
            os.makedirs(folder, exist_ok=True)
        self.wayland = f"wayland-tz-{os.getpid()}-{Path(root).name}"
        self.env = {"HOME": home, "PATH": PATH, "XDG_RUNTIME_DIR": runtime, "XDG_DATA_HOME":
                    f"{home}/.local/share", "XDG_DATA_DIRS": f"{self.share}:/usr/share",
                    "XDG_CONFIG_HOME": f"{home}/.config", "XDG_CACHE_HOME": f"{home}/.cache",
                    "XDG_CONFIG_DIRS": "/etc/xdg", "WAYLAND_DISPLAY": self.wayland}

    def grant_fake_input(self, executable):  # a .desktop file naming it; read at start()
        self.grants += 1
        Path(self.share, f"applications/tz-test-{self.grants}.desktop").write_text(
            "[Desktop Entry]\nType=Application\nName=Test client\nNoDisplay=true\n"
            f"Exec={executable}\nX-KDE-Wayland-Interfaces=org_kde_kwin_fake_input\n")

    def install_menu_entry(self, executable):
        """The program's own menu entry, as installed: Exec names bin/tindro-zevad, a relative
        link to the executable, as in the package."""
        bin_dir = Path(self.root, "kwin-prefix/bin")
        bin_dir.mkdir(parents=True)
        Path(bin_dir, "tindro-zevad").symlink_to(os.path.relpath(executable, bin_dir))
        entry = Path(MENU_ENTRY).read_text().replace("@TZ_BIN_DIR@", str(bin_dir))
        Path(self.share, f"applications/{Path(MENU_ENTRY).stem}").write_text(entry)

    def _log(self, name): return open(f"{self.root}/logs/{name}.log", "ab")

    def start(self):
        with self._log("dbus") as log:
            self.processes.append(bus := SessionBus(self.env, log))
        self.env["DBUS_SESSION_BUS_ADDRESS"] = bus.address
        with self._log("kbuildsycoca5") as log:
            subprocess.run(["kbuildsycoca5", "--noincremental"], env=self.env, stdout=log,
                           stderr=log, timeout=60, check=True)
        if self.scale != 1:  # as Plasma's display settings write it: Xwayland at full size
            Path(self.env["XDG_CONFIG_HOME"]).mkdir(parents=True, exist_ok=True)
            Path(self.env["XDG_CONFIG_HOME"], "kwinrc").write_text(
                f"[Xwayland]\nScale={self.scale}\n")
        kwin = f"{self.root}/kwin-bin/kwin_wayland"  # its own name: KWin's plugins insist
        subprocess.run(["cp", "/usr/bin/kwin_wayland", kwin], check=True)
        display_file = Path(self.root, "kwin-display")
        session = Path(self.root, "kwin-session.sh")  # Xwayland's display, then waits
        session.write_text(f'#!/bin/sh\necho "$DISPLAY" > "{display_file}.part"\n'
                           f'mv "{display_file}.part" "{display_file}"\nexec sleep 100000\n')
        session.chmod(0o755)
        env = {n: v for n, v in self.env.items() if n != "WAYLAND_DISPLAY"}
        with self._log("kwin") as log:
            self.kwin = Process([kwin, "--virtual", "--xwayland", "--no-lockscreen",
                                 "--socket", self.wayland, "--width", str(self.size[0]),
                                 "--height", str(self.size[1]), "--scale", str(self.scale),
                                 "--output-count", str(self.outputs), "--exit-with-session",
                                 str(session)], env=env, stdout=log, stderr=log)
        self.processes.append(self.kwin)
        if not wait_until(lambda: display_file.exists() or not self.kwin.running(), 30) \
                or not self.kwin.running():
            raise RuntimeError("KWin did not start:\n" + self.log("kwin"))
        self.display = display_file.read_text().strip()
        self.env["DISPLAY"] = self.display
        if self.scale != 1:  # and the X clients' font resolution, as Plasma's session sets it
            d = xdisplay.Display(self.display)
            d.screen().root.change_property(d.intern_atom("RESOURCE_MANAGER"), Xatom.STRING, 8,
                                            f"Xft.dpi:\t{round(96 * self.scale)}\n".encode())
            d.sync()
            d.close()

    def log(self, name): return Path(self.root, f"logs/{name}.log").read_text(errors="replace")

    def stop(self):
        for process in reversed(self.processes):
            process.stop()


class FakeInput:
    """The test's own input device: tz_fake_input_tool on the session, one command a line."""

    def __init__(self, session):
        self.scale = session.scale  # KWin's logical pixels are Xwayland's divided by it
        self.tool = Process([FAKE_INPUT_TOOL], env=session.env, stdin=subprocess.PIPE,
                            stdout=subprocess.PIPE)
        answer = self.tool.stdout.readline().decode().strip()
        if answer != "ready":
            raise RuntimeError(f"fake input refused: {answer!r}")

    def _send(self, command):
        self.tool.stdin.write(f"{command}\n".encode())
        self.tool.stdin.flush()
        answer = self.tool.stdout.readline().decode().strip()
        if answer != "ok":
            raise RuntimeError(f"fake input: {command!r} answered {answer!r}")

    def move(self, x, y=None):  # to (x, y) or to the point x
        self._send("move {} {}".format(*(c / self.scale for c in (x if y is None else (x, y)))))

    def click(self, button=BTN_LEFT):
        self._send(f"press {button}")
        self._send(f"release {button}")

    def key(self, code, pressed=None):  # by Linux input code: pressed, let go, or both (None)
        self._send(f"key {code}" + ("" if pressed is None else f" {int(pressed)}"))

    def close(self):
        self.tool.stop()
        self.tool.stdin.close()
        self.tool.stdout.close()


class WaylandRecorder(Recorder):
    """tz_wayland_recorder full screen on the session: ready once the pointer, moved to its
    centre, is over it (as an X11 window on Xwayland is not)."""

    def __init__(self, session, pointer):
        self.rect, self.heard, self.cleared = Rect(0, 0, *session.size), [], 0
        self.centre = self.rect.centre
        self.tool = Process([WAYLAND_RECORDER], env={**session.env, "QT_QPA_PLATFORM": "wayland"},
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        threading.Thread(target=lambda: self.heard.extend(l.decode().strip() for l in
                                                          self.tool.stdout), daemon=True).start()
        if not wait_until(lambda: pointer.move(self.centre) or "enter" in self.heard, 10, 0.1):
            self.close()
            raise RuntimeError("the Wayland recorder did not show")

    def _heard(self): return [l.split() for l in self.heard[self.cleared:] if l != "enter"]

    def events(self): return [f"{kind} {button}" for kind, button, *_ in self._heard()]

    def points(self): return [(int(x), int(y)) for *_, x, y in self._heard()]

    def clear(self): self.cleared = len(self.heard)

    def close(self): self.tool.stop()


class KWinXClient(XClient):
    """XClient on the session's Xwayland whose pointer motion goes through KWin's fake input:
    XTest motion on Xwayland would not move KWin's pointer."""

    def __init__(self, display, pointer):
        super().__init__(display)
        self.pointer = pointer

    def move(self, x, y=None): self.pointer.move(x, y)

    warp = move

    def _info(self, w):  # its place on the root: KWin keeps the windows it manages in frames
        try:
            origin = self.root.translate_coords(w, 0, 0)
        except xerror.XError:
            return None
        return (info := super()._info(w)) and info._replace(rect=info.rect._replace(
            x=origin.x, y=origin.y))

    def windows(self):  # KWin frames the windows it manages: theirs follow the root's children
        top = super().windows()
        return top + [w for w in self.managed() if w.id not in {t.id for t in top}]


class KWinTestCase(ProgramTestCase):
    """ProgramTestCase in a KWin session of the test's own: the same steps (show_at_edge,
    rest_at, ...) with the pointer moved through fake input, granted to the test's tool and to
    the sandbox's program; the recorder on Xwayland; no click monitor."""
    SIZE, GRANT_PROGRAM, SCALE, OUTPUTS = (1280, 1024), True, 1, 1

    def open_display(self):
        self.session = KWinSession(self.sandbox.root, self.sandbox.runtime, self.SIZE, self.SCALE,
                                   self.OUTPUTS)
        self.session.grant_fake_input(FAKE_INPUT_TOOL)
        if self.GRANT_PROGRAM:
            self.session.install_menu_entry(self.sandbox.executable)
        self.addCleanup(self._stop_session)
        self.session.start()
        self.display = self.session.display
        self.own(pointer=FakeInput(self.session))
        self.own(x=KWinXClient(self.display, self.pointer), recorder=Recorder(self.display))

    def _stop_session(self):
        if self.failed():
            sys.stderr.write(f"---- KWin\n{self.session.log('kwin')[-4000:]}----\n")
        self.session.stop()

    def move_over_x11(self, point, timeout=5):  # until Xwayland has the pointer there
        # Xwayland follows the pointer only over its windows, and a window just mapped shows
        # in KWin a frame later: the motion is sent again until Xwayland reports it.
        # Under load KWin may route input to a new window only after painting it: once there,
        # the pointer comes again a moment later, as a user's would after seeing the window.
        root = self.recorder.d.screen().root
        there = lambda: self.pointer.move(point[0] + 1, point[1]) or self.pointer.move(point) \
            or (lambda p: (p.root_x, p.root_y) == tuple(point))(root.query_pointer())
        return wait_until(there, timeout, 0.05) and (time.sleep(0.3) or wait_until(there, 1))

    def bus_call(self, service, path, method, *args):  # dbus-send's reply, or its error
        done = subprocess.run(["dbus-send", "--session", "--print-reply", f"--dest={service}",
                               path, method, *args], env=self.session.env, capture_output=True,
                              text=True, timeout=10)
        return done.stdout if done.returncode == 0 else "error: " + done.stderr

    def kwin_script_loaded(self, name):
        return "boolean true" in self.bus_call("org.kde.KWin", "/Scripting",
                                               "org.kde.kwin.Scripting.isScriptLoaded",
                                               f"string:{name}")

    def answer_and_wait_end(self, run, timeout=10):  # Return to its box until the run ends
        # KWin gives a new window the keyboard a moment after it shows.
        return wait_until(lambda: not run.running() or press_key(self.display, "Return"),
                          timeout, 0.3)

    def start(self, follow_bar=True, env=None, **options):  # the program in the session
        session_env = {n: self.session.env[n] for n in
                       ("DBUS_SESSION_BUS_ADDRESS", "WAYLAND_DISPLAY", "XDG_DATA_DIRS",
                        "XDG_DATA_HOME", "XDG_CACHE_HOME")}
        session_env["XDG_SESSION_TYPE"] = "wayland"
        return super().start(follow_bar, env={**session_env, **(env or {})}, **options)
