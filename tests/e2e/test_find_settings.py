"""Find my settings on a fresh start, by resting alone: a pointer that shakes on the
targets and pauses on the way between them gets a tolerance and a delay that suit it, and a
rest on Apply saves them."""
import random, time
from harness import ProgramTestCase, Rect, Sandbox, wait_until

W, H = 1280, 1024
# As the window places its targets: parts of the screen's width and height.
TARGETS = [(0.5, 0.5), (0.15, 0.2), (0.85, 0.2), (0.85, 0.8), (0.15, 0.8)]
TARGETS = [(round(fx * W), round(fy * H)) for fx, fy in TARGETS]
YELLOW_SPOT = (-30, 20)  # inside a target, clear of its middle dot and of the pointer
# Where the suggestion's buttons show: the band below the texts, in the middle.
BUTTON_BAND = Rect(W // 4, H // 3, W // 2, H // 2)


class FindSettingsTest(ProgramTestCase):
    def luminance(self, point):
        return self.x.grab(Rect(point[0], point[1], 1, 1))[0][0]

    def target_shows(self, target):
        return self.luminance((target[0] + YELLOW_SPOT[0], target[1] + YELLOW_SPOT[1])) > 150

    def travel(self, start, end, steps=8):
        for i in range(1, steps + 1):
            self.x.move(start[0] + (end[0] - start[0]) * i // steps,
                        start[1] + (end[1] - start[1]) * i // steps)
            time.sleep(0.03)

    def hold_shaking(self, target, shake=4):  # until the window takes down this target
        shaking = random.Random(7)
        deadline = time.monotonic() + 15
        while self.target_shows(target) and time.monotonic() < deadline:
            self.x.move(target[0] + shaking.randint(-shake, shake),
                        target[1] + shaking.randint(-shake, shake))
            time.sleep(0.05)
        self.assertFalse(self.target_shows(target), f"target {target} stayed")

    def apply_button(self):  # the middle of the leftmost light button in the band
        shot, runs = self.x.grab(BUTTON_BAND), []
        for y, row in enumerate(shot):
            start = None
            for x, v in enumerate(row + [0]):
                if v > 150 and start is None:
                    start = x
                elif v <= 150 and start is not None:
                    if x - start >= 60:  # longer than any run of letters
                        runs.append((y, start, x))
                        break
                    start = None
        if not runs:
            return None
        left = min(a for _, a, _ in runs)
        mine = [(y, a, b) for y, a, b in runs if a == left]
        return (BUTTON_BAND.x + (mine[0][1] + mine[0][2]) // 2,
                BUTTON_BAND.y + (mine[0][0] + mine[-1][0]) // 2)

    def test_shaking_hand_and_pauses_on_the_way_get_their_settings_and_apply_saves_them(self):
        self.sandbox.remove_file(Sandbox.SETTINGS_NAME)  # a fresh start
        self.start(args=["--find-settings"])
        self.wait_window(size=(W, H), timeout=30)
        self.assertTrue(wait_until(lambda: self.target_shows(TARGETS[0]), 10), "no first target")
        here = TARGETS[0]
        self.x.move(here)
        for target in TARGETS:
            if target != here:  # half way, a pause of 0.7 s
                middle = ((here[0] + target[0]) // 2, (here[1] + target[1]) // 2)
                self.travel(here, middle)
                time.sleep(0.7)
                self.travel(middle, target)
            self.hold_shaking(target)
            here = target
        self.travel(here, (W // 2, H - 100))
        button = wait_until(self.apply_button, 10)
        self.assertTrue(button, "no Apply button\n" + self.windows())
        self.rest_and_click(button)
        self.assertTrue(wait_until(lambda: self.settings_line(2) is not None, 10),
                        "nothing saved")
        saved = self.sandbox.read_settings()
        self.assertGreaterEqual(int(self.settings_line(1)), 2, saved)
        self.assertGreaterEqual(int(self.settings_line(2)), 8, saved)
        self.assertTrue(wait_until(lambda: not self.x.find(lambda w: w.pid == self.run.pid and
                                   w.viewable and w.rect[2:] == (W, H)), 10), "still shows")
