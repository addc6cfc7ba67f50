import time
from harness import Button, inside
from kwin_harness import KWinTestCase
from test_options_by_dwelling import NO, OK, START_AT_LOGON, YES, FACE
class ExploreTest(KWinTestCase):
    def test_x(self):
        self.start_parked()
        options = self.open_from_bar(Button.OPTIONS)
        print("options", options, flush=True)
        self.x.move(inside(options, START_AT_LOGON))
        time.sleep(1.5)  # one click: three times the delay
        self.x.move(inside(options, OK))
        self.wait_gone(options)
        print("line8", self.settings_line(8), self.settings_line(3))
        w = self.open_from_bar(Button.EXIT)
        print("found", w, flush=True)
        self.x.move(inside(w, NO))
        for i in range(8):
            time.sleep(0.3)
            p = self.x.root.query_pointer()
            print(p.root_x, p.root_y, self.settings_line(8), [v for v in self.x.windows() if v.id == w.id], flush=True)
