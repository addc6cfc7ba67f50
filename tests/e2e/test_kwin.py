"""The program in KDE Plasma's Wayland session: a real KWin without a screen (kwin_harness)."""
import time
from pathlib import Path
from harness import LEFT, Button, ProgramTestCase, press, press_key, wait_until
from kwin_harness import KWinTestCase

SCRIPT = "tindro-zevad-pointer"


class KWinClickingTest(KWinTestCase):
    def test_a_rest_clicks_on_an_xwayland_window_and_the_left_edge_calls_up_the_bar(self):
        self.start_parked()
        self.assertEqual(self.rest_at(self.recorder.centre, 2), LEFT)
        self.check_edge()

    def test_a_drag_held_through_fake_input_is_let_go_when_the_program_ends(self):
        self.start_parked()
        self.choose(Button.DRAG)
        self.assertEqual(self.rest_at(self.recorder.centre, 1), [press(1)])
        self.assertEqual(self.run.stop(), 0)
        self.assertTrue(self.recorder.wait_events(2, 5), self.recorder.events())
        self.assertEqual(self.recorder.events(), LEFT)

    def test_a_second_instance_leaves_the_first_ones_script_alone(self):
        first = self.start_parked()
        second = self.start(follow_bar=False)
        self.wait_window(pid=second.pid)  # saying that one runs already; answered, it ends
        self.assertTrue(self.answer_and_wait_end(second), self.windows())
        self.assertTrue(self.kwin_script_loaded(SCRIPT))
        self.assertEqual(self.rest_at(self.recorder.centre, 2), LEFT)
        self.assertTrue(first.running())

    def test_only_kwin_reports_the_pointer_and_the_script_goes_with_the_program(self):
        stale = Path(self.sandbox.root, "stale.js")  # as a killed earlier run leaves it loaded
        stale.write_text("print('stale');\n")
        self.bus_call("org.kde.KWin", "/Scripting", "org.kde.kwin.Scripting.loadScript",
                      f"string:{stale}", f"string:{SCRIPT}")
        self.assertTrue(self.kwin_script_loaded(SCRIPT))
        run = self.start_parked()
        # Another program on the bus says the pointer touches the left edge: not believed.
        said = self.bus_call("org.tindrozevad.PointerReport", "/org/tindrozevad/PointerReport",
                             "org.tindrozevad.PointerReport.report", "int32:0", "int32:100",
                             "int32:1280")
        self.assertIn("AccessDenied", said)
        time.sleep(0.5)
        self.assertFalse(self.bar().viewable)
        self.assertEqual(run.stop(), 0)
        self.assertFalse(self.kwin_script_loaded(SCRIPT), "a script stayed in KWin")


class KWinWithoutPermissionTest(KWinTestCase):
    GRANT_PROGRAM = False

    def test_a_program_folder_grants_itself_fake_input_unless_it_cannot_write_the_grant(self):
        Path(self.sandbox.root, "file").write_text("")  # no data folder can be made in a file
        run = self.start(env={"XDG_DATA_HOME": f"{self.sandbox.root}/file/share"})
        self.assertTrue(wait_until(lambda: "X-KDE-Wayland-Interfaces" in run.log(), 10),
                        run.log())
        self.wait_window(title="Tindro Zevad")
        self.assertTrue(self.answer_and_wait_end(run), self.windows())
        self.assertEqual(run.returncode, 1)
        self.assertFalse(self.kwin_script_loaded(SCRIPT), "a script stayed in KWin")
        self.start_parked()  # its entry in the session's data folder, read by KWin at once
        self.assertEqual(self.rest_at(self.recorder.centre, 2), LEFT)


class OtherWaylandTest(ProgramTestCase):
    def test_a_wayland_session_without_kwin_is_refused_with_a_message(self):
        # Xwayland of another compositor, here Xvfb: WAYLAND_DISPLAY set, no KWin on the bus.
        run = self.start(env={"WAYLAND_DISPLAY": "wayland-elsewhere"})
        self.assertTrue(wait_until(lambda: "not KWin" in run.log(), 10), run.log())
        box = self.wait_window(title="Tindro Zevad")
        self.x.move(box.rect.centre)  # no window manager: the keyboard goes where the pointer is
        press_key(self.display, "Return")
        self.assertTrue(wait_until(lambda: not run.running(), 10), self.windows())
        self.assertEqual(run.returncode, 1)
        self.assertIsNone(self.bar())
