"""The bar can be reached whatever else is on the screen: over a focused full-screen window under
a real window manager (openbox), out of every taskbar, and while another program grabs the
pointer, as an open menu does."""
from harness import Button, ProgramTestCase, Rect, Recorder, wait_until


class BarOverAnythingTest(ProgramTestCase):
    def test_over_a_full_screen_window_the_bar_and_its_exit_window_come_first(self):
        self.start_parked()
        self.start_window_manager()  # after: the bar it meets first is the hidden one
        self.own(full=(full := Recorder(self.display, Rect(0, 0, 1280, 1024), full_screen=True)))
        self.assertTrue(self.x.activate(full.id), "the full-screen window got no focus")
        # Called up over it, the bar is in no taskbar, pager or task switcher: the window
        # manager does not list it.
        bar = self.move_onto(Button.LEFT)
        self.assertTrue(bar and bar.viewable, self.windows())
        self.assertEqual([w for w in self.x.managed() if w.pid == self.bar_pid], [])
        # Its exit button's window shows above the full-screen one.
        self.move_onto(Button.EXIT)
        exit_window = wait_until(lambda: next((w for w in self.x.managed() if
                                 w.title == "Exit the program" and w.viewable), None), 10)
        self.assertTrue(exit_window, f"no exit window: {self.x.managed()}")
        # openbox may list a window it just mapped below the others until it has stacked it.
        above = lambda: (lambda ids: ids.index(exit_window.id) > ids.index(full.id))(
            [w.id for w in self.x.managed()])
        self.assertTrue(wait_until(above, 3), self.x.managed())

    def test_moving_onto_a_button_chooses_it_while_another_program_grabs_the_pointer(self):
        self.start_parked()
        self.x.grab_pointer()
        self.addCleanup(self.x.ungrab_pointer)
        for button in (Button.RIGHT, Button.DOUBLE):
            self.choose(button)
