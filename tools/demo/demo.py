"""A short scripted dwell-clicking session on a private Xvfb, for machines without a
desktop: prints each step and saves screenshots (the pointer drawn in, as X leaves it out).

    demo.py <output folder> [program folder]

It drives the real program with the end-to-end tests' harness (tests/e2e/harness.py).
"""
import os, sys, time, unittest
from PIL import Image, ImageDraw
from harness import (BAR_TOP, BAR_WIDTH, BUTTON_RECTS, Button, ProgramTestCase, Rect, Run,
                     press, release, wait_until)
from Xlib import X

ELSEWHERE = (900, 800)


class Demo(ProgramTestCase):
    out, steps = ".", 0

    def step(self, text):
        Demo.steps += 1
        print(f"[{Demo.steps}] {text}", flush=True)

    def save(self, name, shot=None):
        """A screenshot with the pointer where it is now (or a grab taken earlier)."""
        image, (x, y) = shot or self.grab()
        ImageDraw.Draw(image).polygon([(x, y), (x, y + 21), (x + 5, y + 16), (x + 9, y + 25),
                                       (x + 12, y + 23), (x + 8, y + 15), (x + 15, y + 15)],
                                      fill="black", outline="white")
        image.save(os.path.join(self.out, name))

    def grab(self):
        w, h = self.x.screen()
        raw = self.x.root.get_image(0, 0, w, h, X.ZPixmap, 0xffffffff).data
        return Image.frombytes("RGB", (w, h), raw, "raw", "BGRX"), self.x.pointer()

    def label_target(self, text):
        window = self.recorder.d.create_resource_object("window", self.recorder.id)
        screen, font = self.recorder.d.screen(), self.recorder.d.open_font("fixed")
        gc = window.create_gc(foreground=screen.black_pixel, background=screen.white_pixel,
                              font=font)
        window.clear_area()
        window.image_text(gc, 12, 24, text)
        self.recorder.d.sync()

    def test_session(self):
        self.step(f"Starting the program on a private X display {self.display}")
        self.x.move(ELSEWHERE)
        self.label_target("Target: 0 clicks")
        self.start()
        seen = wait_until(lambda: self.bar() and self.bar().viewable, 10)
        self.save("01-start.png")
        self.step("The program is up: its bar shows at the left edge and slides away" if seen
                  else "The program is up")
        self.assertTrue(self.wait_parked(15), "the bar never slid away and parked hidden")
        self.step("The bar slid out of sight and is parked")

        right = BUTTON_RECTS[Button.RIGHT].centre
        self.assertTrue(self.show_at_edge(BAR_TOP + right[1]),
                        "the bar did not appear with the pointer at the left edge")
        self.step("Pointer touches the left edge: the bar appears")
        self.save("02-bar-shown.png")

        self.move_onto(Button.RIGHT, 5)
        saved = wait_until(lambda: self.settings_line(8) == "5", 5)
        picked = self.grab()  # grab at once and leave: a rest on the button would click it
        self.recorder.clear()
        self.x.move(self.recorder.centre)
        self.assertTrue(saved, "line 8 of the settings file did not become 5")
        self.step("Moving onto the right-click button: right click selected (saved as line 8)")
        self.save("03-mode-picked.png", picked)

        self.recorder.wait_events(2, 5)
        self.assertEqual(self.recorder.events(), [press(3), release(3)],
                         "the target did not receive one right click")
        self.label_target("Target: 1 click (right)")
        self.step("Resting over the target window: it received a right click")
        time.sleep(0.2)
        self.save("04-after-click.png")
        time.sleep(1.5)
        self.assertEqual(len(self.recorder.events()), 2, "a continued rest clicked again")
        self.step("Staying still: no second click")

        x, y = self.recorder.centre
        self.x.move(x + 60, y + 30)
        self.assertTrue(self.recorder.wait_events(4, 5), "no click after the second rest")
        self.label_target("Target: 2 clicks (right)")
        self.step("Moving a little and resting again: a second right click")
        time.sleep(0.2)
        self.save("05-second-click.png")

        self.run.terminate()
        code = self.run.wait(10)
        self.assertIsNotNone(code, "the program did not end on SIGTERM")
        self.step("Program stopped (" + (f"signal {-code}" if code < 0 else f"exit code {code}")
                  + ")")
        self.double_size()

    def double_size(self):
        """The program again on a desktop that draws windows at double size: the bar keeps
        its layout, twice as large, with pictures drawn for that size."""
        self.x.move(ELSEWHERE)
        self.bar_width = 2 * BAR_WIDTH
        self.start(env={"QT_SCALE_FACTOR": "2"})
        self.assertTrue(self.wait_parked(15), "at double size the bar never parked hidden")
        shown = self.show_at_edge(400)
        self.assertTrue(shown, "at double size the bar did not appear at the left edge")
        spot = BUTTON_RECTS[Button.RIGHT].centre
        self.x.move(shown.rect.x + 2 * spot[0], shown.rect.y + 2 * spot[1])
        time.sleep(0.3)
        self.step("At double size (QT_SCALE_FACTOR=2) the bar keeps its layout, twice as large")
        self.save("06-bar-at-2x.png")
        self.x.move(ELSEWHERE)
        self.run.terminate()
        self.assertIsNotNone(self.run.wait(10), "the program did not end on SIGTERM")


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(f"usage: {sys.argv[0]} <output folder> [program folder]")
    Demo.out = os.path.abspath(sys.argv[1])
    os.makedirs(Demo.out, exist_ok=True)
    if len(sys.argv) == 3:
        os.environ["TZ_DIST_DIR"] = sys.argv[2]
    # The real program, with its real update check, in place of the tests' build.
    os.environ["TZ_E2E_PROGRAM"] = os.path.join(os.environ["TZ_DIST_DIR"], "tindro-zevad")
    result = unittest.TextTestRunner(stream=sys.stderr, verbosity=0).run(Demo("test_session"))
    if not result.wasSuccessful():
        sys.exit("Demo failed")
    print(f"Screenshots are in {Demo.out}")


if __name__ == "__main__":
    main()
