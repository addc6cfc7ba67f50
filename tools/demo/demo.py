"""A short scripted dwell-clicking session on a private Xvfb, for machines without a
desktop: prints each step and saves screenshots (the pointer drawn in, as X leaves it out).

    demo.py <output folder> [program folder]

It drives the real program with the end-to-end tests' harness (tests/e2e/harness.py).
"""
import os, random, re, sys, time, unittest
from PIL import Image, ImageDraw
from harness import (BAR_TOP, BAR_WIDTH, BUTTON_RECTS, Button, ProgramTestCase, Rect,
                     TrayHost, press, release, wait_until)
from Xlib import X

ELSEWHERE = (900, 800)


# Controls relative to their window's top-left corner.
OPTIONS_OK, OPTIONS_ABOUT, ABOUT_CLOSE = (428, 369), (527, 38), (385, 18)
OPTIONS_FIND_SETTINGS = (396, 328)
EXIT_NO, EXIT_YES = (236, 109), (126, 109)
OPTIONS_SIZE, EXIT_SIZE, ABOUT_SIZE = (561, 396), (361, 149), (425, 238)

# "Find my settings", as its window places its targets: parts of the screen's width and height.
W, H = 1280, 1024
TARGETS = [(round(fx * W), round(fy * H))
           for fx, fy in [(0.5, 0.5), (0.15, 0.2), (0.85, 0.2), (0.85, 0.8), (0.15, 0.8)]]
YELLOW_SPOT = (-30, 20)  # inside a target, clear of its middle dot and of the pointer
# Where the suggestion's buttons show: the band below the texts, in the middle.
BUTTON_BAND = Rect(W // 4, H // 3, W // 2, H // 2)


def target_shows(x, target):
    return x.grab(Rect(target[0] + YELLOW_SPOT[0], target[1] + YELLOW_SPOT[1], 1, 1))[0][0] > 150


def travel(x, start, end, steps=8):
    for i in range(1, steps + 1):
        x.move(start[0] + (end[0] - start[0]) * i // steps,
               start[1] + (end[1] - start[1]) * i // steps)
        time.sleep(0.03)


def go_through_targets(case, shake=4, pause=0.7):
    """Each target held with the pointer shaking by `shake` px each way until the window
    takes it down, a `pause` s still half way to the next; then down to the buttons."""
    x, shaking = case.x, random.Random(7)
    case.assertTrue(wait_until(lambda: target_shows(x, TARGETS[0]), 10), "no first target")
    x.move(TARGETS[0])
    for here, target in zip(TARGETS[:1] + TARGETS, TARGETS):
        if target != here:
            middle = ((here[0] + target[0]) // 2, (here[1] + target[1]) // 2)
            travel(x, here, middle)
            time.sleep(pause)
            travel(x, middle, target)
        case.assertTrue(wait_until(lambda: not target_shows(x, target) or x.move(
            *(c + shaking.randint(-shake, shake) for c in target)), 15, 0.05),
            f"target {target} stayed")
    travel(x, TARGETS[-1], (W // 2, H - 100))


def apply_button(x):  # the middle of the leftmost light button in the band
    # Each row's first light run longer than any run of letters.
    runs = [(m.start(), y, m.end()) for y, row in enumerate(x.grab(BUTTON_BAND))
            if (m := re.search("1{60,}", "".join("01"[v > 150] for v in row)))]
    mine = [r for r in runs if r[0] == min(runs)[0]]
    return mine and (BUTTON_BAND.x + (mine[0][0] + mine[0][2]) // 2,
                     BUTTON_BAND.y + (mine[0][1] + mine[-1][1]) // 2)


class Demo(ProgramTestCase):
    out, steps, pictures = ".", 0, []

    def step(self, text, shot=None):
        """Prints the step and saves a screenshot of it: the screen now, pointer drawn in
        (X leaves it out), or a grab taken a moment earlier."""
        Demo.steps += 1
        print(f"[{Demo.steps}] {text}", flush=True)
        image, (x, y) = shot or self.grab()
        ImageDraw.Draw(image).polygon([(x, y), (x, y + 21), (x + 5, y + 16), (x + 9, y + 25),
                                       (x + 12, y + 23), (x + 8, y + 15), (x + 15, y + 15)],
                                      fill="black", outline="white")
        image.save(os.path.join(self.out, f"step-{Demo.steps:02}.png"))
        Demo.pictures.append((f"{Demo.steps}. {text}"[:52], image))

    def inside(self, win, offset):
        return (win.rect.x + offset[0], win.rect.y + offset[1])

    def grab(self):
        g = self.x.root.get_geometry()
        w, h = g.width, g.height
        raw = self.x.root.get_image(0, 0, w, h, X.ZPixmap, 0xffffffff).data
        pointer = self.x.root.query_pointer()
        return Image.frombytes("RGB", (w, h), raw, "raw", "BGRX"), (pointer.root_x,
                                                                    pointer.root_y)

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
        self.tray = TrayHost(self.display)  # the desktop's system tray, a test's own here
        self.addCleanup(self.tray.close)
        self.start()
        seen = wait_until(lambda: self.bar() and self.bar().viewable, 10)
        self.step("The program is up: its bar shows at the left edge and slides away" if seen
                  else "The program is up")
        self.assertTrue(self.wait_parked(15), "the bar never slid away and parked hidden")
        self.step("The bar slid out of sight and is parked")

        right = BUTTON_RECTS[Button.RIGHT].centre
        self.assertTrue(self.show_at_edge(BAR_TOP + right[1]),
                        "the bar did not appear with the pointer at the left edge")
        self.step("Pointer touches the left edge: the bar appears")

        self.move_onto(Button.RIGHT, 5)
        saved = wait_until(lambda: self.settings_line(8) == "5", 5)
        picked = self.grab()  # grab at once and leave: a rest on the button would click it
        self.recorder.clear()
        self.x.move(self.recorder.centre)
        counting = wait_until(self.countdown, 2) and self.grab()
        self.assertTrue(saved, "line 8 of the settings file did not become 5")
        self.step("Moving onto the right-click button: right click selected (saved as line 8)",
                  picked)
        self.assertTrue(counting, "no countdown beside the resting pointer")
        self.step("Resting over the target: the countdown beside the pointer fills up, "
                  "marked with the right button", counting)

        self.recorder.wait_events(2, 5)
        self.assertEqual(self.recorder.events(), [press(3), release(3)],
                         "the target did not receive one right click")
        self.label_target("Target: 1 click (right)")
        self.step("Resting over the target window: it received a right click")
        time.sleep(1.5)
        self.assertEqual(len(self.recorder.events()), 2, "a continued rest clicked again")
        self.step("Staying still: no second click")

        x, y = self.recorder.centre
        self.x.move(x + 60, y + 30)
        self.assertTrue(self.recorder.wait_events(4, 5), "no click after the second rest")
        self.label_target("Target: 2 clicks (right)")
        self.step("Moving a little and resting again: a second right click")
        time.sleep(0.2)

        self.other_kinds()
        self.tray_menu()
        self.windows_by_dwelling()
        self.double_size()
        self.scrolling()

    def other_kinds(self):
        """The other click kinds, each chosen on the bar and made by one rest (a drag
        presses on one rest and releases on the next)."""
        x, y = self.recorder.centre
        for n, (button, label, events, text) in enumerate([
                (Button.LEFT, "left click", [press(1), release(1)],
                 "Left click chosen; a rest on the target: it received a left click"),
                (Button.DOUBLE, "double click", [press(1), release(1)] * 2,
                 "Double click chosen; a rest on the target: it received a double click"),
                (Button.DRAG, "drag: button held", [press(1)],
                 "Drag chosen; a rest on the target presses the button and holds it"),
                (None, "drag: button released", [release(1)],
                 "Moved and rested again: the drag's button is released there")]):
            if button is not None:
                self.choose(button)
            self.recorder.clear()
            self.x.move(x - 80 + 40 * n, y - 20 + 15 * n)
            self.recorder.wait_events(len(events), 5)
            self.assertEqual(self.recorder.events(), events, f"no {label} on the target")
            self.label_target(f"Target: {label}")
            self.step(text)
            time.sleep(0.2)

    def tray_menu(self):
        """The tray icon shows the click kind; a rest on it opens its menu, a rest on an
        item acts."""
        self.choose(Button.LEFT)
        self.x.move(ELSEWHERE)
        icon = wait_until(lambda: self.tray.icons and self.tray.icons[0], 5)
        self.assertTrue(icon, "the program put no icon into the tray")
        menu = self.open_tray_menu(icon)
        time.sleep(0.3)
        self.step("Resting on the tray icon (top right) opens its menu", self.grab())
        self.x.move(menu.rect.x + menu.rect.w // 2, menu.rect.y + 12)
        self.assertTrue(wait_until(lambda: self.settings_line(8) == "1", 5), "not paused")
        self.x.move(ELSEWHERE)
        time.sleep(0.3)
        self.step("Resting on \"Pause clicking\": paused, the tray icon shows the pause picture")

    def windows_by_dwelling(self):
        """The options, about and exit windows, opened and answered by resting alone."""
        self.move_onto(Button.OPTIONS)
        options = self.wait_window(size=OPTIONS_SIZE)
        time.sleep(0.5)
        self.step("Resting on the options button opens the options window")
        self.rest_and_click(self.inside(options, OPTIONS_ABOUT))
        about = self.wait_window(size=ABOUT_SIZE)
        time.sleep(1)
        self.step("Resting on its \"i\" shows the about window, its credits rising")
        self.rest_and_click(self.inside(about, ABOUT_CLOSE))
        self.wait_gone(about)
        options = self.wait_window(size=OPTIONS_SIZE)
        self.step("Resting on the about window's OK closes it; the options are back")
        self.find_settings(options)
        self.rest_and_click(self.inside(options, OPTIONS_OK))
        self.wait_gone(options)
        self.step("Resting on OK closes the options (while they are open, every rest is a "
                  "left click)")

        self.move_onto(Button.EXIT)
        exit_window = self.wait_window(size=EXIT_SIZE)
        time.sleep(0.5)
        self.step("Resting on the exit button asks whether to end the program")
        self.rest_and_click(self.inside(exit_window, EXIT_NO))
        self.wait_gone(exit_window)
        self.assertTrue(self.run.running())
        self.step("Answered No: the program goes on")

        self.move_onto(Button.EXIT)
        self.x.move(self.inside(self.wait_window(size=EXIT_SIZE), EXIT_YES))
        self.assertEqual(self.run.wait(10), 0, "a rest on Yes did not end the program")
        self.step("Asked again and answered Yes: the program ends (exit status 0)")

    def find_settings(self, options):
        """Find my settings from the options window: five targets held with a shaking
        hand, pauses on the way, then the suggestion applied by resting."""
        self.rest_and_click(self.inside(options, OPTIONS_FIND_SETTINGS))
        self.wait_window(size=(1280, 1024))
        time.sleep(0.3)
        self.step("Resting on \"Find my settings...\": hold still on each circle in turn")
        go_through_targets(self)
        button = wait_until(lambda: apply_button(self.x), 10)
        self.assertTrue(button, "no suggestion with an Apply button")
        self.step("Five circles held with a 4 px shake, 0.7 s pauses on the way: the "
                  "suggestion")
        self.rest_and_click(button)
        saved = wait_until(lambda: int(self.settings_line(2)) >= 8 and self.settings_line(2), 5)
        self.assertTrue(saved, "Apply did not save the suggested delay")
        self.wait_window(size=OPTIONS_SIZE)
        time.sleep(0.3)
        self.step(f"Resting on Apply saved tolerance {self.settings_line(1)} and delay "
                  f"{saved}; the options show them")

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
        self.x.move(ELSEWHERE)
        self.run.stop()

    def scrolling(self):
        """The scroll kind, turned on in the extras file: its button follows right click; a
        rest places the scroll pad, and holding above its middle scrolls up."""
        self.x.move(ELSEWHERE)
        self.bar_width = BAR_WIDTH
        self.sandbox.write_file("Tindro Zevad extras.ini", "[Extras]\nScrollButton=1\n")
        self.start()
        self.assertTrue(self.wait_parked(15), "the bar never parked hidden")
        self.move_onto((22, 288 + 25))  # the scroll button, right after right click
        self.assertTrue(wait_until(lambda: self.settings_line(8) == "9", 5), "scroll not chosen")
        self.step("With ScrollButton=1 the bar shows a scroll button; moving onto it chooses "
                  "scrolling")
        x, y = self.recorder.centre
        self.recorder.clear()
        self.x.move(x, y)
        pad = wait_until(lambda: next(iter(self.x.find(
            lambda w: w.pid == self.bar_pid and w.viewable and w.rect.w == w.rect.h == 120)),
            None), 5)
        self.assertTrue(pad, "no scroll pad after a rest")
        self.x.move(x, y - 40)
        time.sleep(1)
        held = self.grab()
        self.x.move(x, y)
        time.sleep(0.3)
        steps = self.recorder.events().count(press(4))
        self.assertTrue(steps and set(self.recorder.events()) == {press(4), release(4)},
                        "holding above the pad's middle did not scroll up alone")
        self.step(f"A rest places the scroll pad; holding above its middle for a second sent "
                  f"{steps} wheel steps up", held)
        self.x.move(ELSEWHERE)
        self.run.stop()

    @classmethod
    def contact_sheet(cls):
        """Every screenshot, a quarter of its size, four to a row, captioned."""
        width, height, columns = 1280 // 4, 1024 // 4, 4
        rows = (len(cls.pictures) + columns - 1) // columns
        sheet = Image.new("RGB", (columns * (width + 10) + 10, rows * (height + 30) + 10), "gray")
        draw = ImageDraw.Draw(sheet)
        for i, (caption, image) in enumerate(cls.pictures):
            x, y = 10 + i % columns * (width + 10), 10 + i // columns * (height + 30)
            sheet.paste(image.resize((width, height)), (x, y + 20))
            draw.text((x, y + 4), caption, fill="white")
        path = os.path.join(cls.out, "contact-sheet.png")
        sheet.save(path)
        return path


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(f"usage: {sys.argv[0]} <output folder> [program folder]")
    Demo.out = os.path.abspath(sys.argv[1])
    os.makedirs(Demo.out, exist_ok=True)
    if len(sys.argv) == 3:
        os.environ["TZ_DIST_DIR"] = sys.argv[2]
    # The real program, with its real update check, in place of the tests' build.
    os.environ["TZ_E2E_PROGRAM"] = os.path.join(os.environ["TZ_DIST_DIR"], "tindro-zevad")
    result = unittest.TextTestRunner(stream=open(os.devnull, "w")).run(Demo("test_session"))
    for _, trace in result.failures + result.errors:
        sys.stderr.write(trace)
    if not result.wasSuccessful():
        sys.exit("The demo stopped: the step after the last one shown failed (see above).")
    sheet = Demo.contact_sheet()
    print(f"Shown: the bar appearing at the edge, a click of each kind on a target, the "
          f"countdown beside the resting pointer, the tray icon's menu, the options, about and "
          f"exit windows and Find my settings used by resting, the bar at double size, the scroll "
          f"pad. "
          f"{len(Demo.pictures)} screenshots are in {Demo.out}, all on one page in {sheet}.")


if __name__ == "__main__":
    main()
