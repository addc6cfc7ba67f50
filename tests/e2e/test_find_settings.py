"""Find my settings on a fresh start, by resting alone: a pointer that shakes on the
targets and pauses on the way between them gets a tolerance and a delay that suit it, and a
rest on Apply saves them. (make demo goes through it with the same steps.)"""
import random, re, time
from harness import ProgramTestCase, Rect, Sandbox, wait_until

W, H = 1280, 1024
# As the window places its targets: parts of the screen's width and height.
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


class FindSettingsTest(ProgramTestCase):
    def test_shaking_hand_and_pauses_on_the_way_get_their_settings_and_apply_saves_them(self):
        self.sandbox.remove_file(Sandbox.SETTINGS_NAME)  # a fresh start
        self.start(args=["--find-settings"])
        self.wait_window(size=(W, H), timeout=30)
        go_through_targets(self)
        button = wait_until(lambda: apply_button(self.x), 10)
        self.assertTrue(button, "no Apply button\n" + self.windows())
        self.rest_and_click(button)
        self.assertTrue(wait_until(lambda: self.settings_line(2) is not None, 10),
                        "nothing saved")
        saved = self.sandbox.read_settings()
        self.assertGreaterEqual(int(self.settings_line(1)), 2, saved)
        self.assertGreaterEqual(int(self.settings_line(2)), 8, saved)
        self.assertTrue(wait_until(lambda: not self.x.find(lambda w: w.pid == self.run.pid and
                                   w.viewable and w.rect[2:] == (W, H)), 10), "still shows")
