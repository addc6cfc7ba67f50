"""Minutes of ordinary use of the real program under Xvfb: the pointer sweeps the screen,
rests on a target (which clicks), and now and then calls up the bar and chooses another
click kind (which saves the settings). At the end the program's resident memory must be
within 1 MiB of what it was after the first minute, and it must hold no more open files.
TZ_SOAK_MINUTES sets the length (10 by default). Run by `make soak`, not by `make test`.
"""
import math, os, time, unittest
from harness import BAR_WIDTH, ELSEWHERE, Button, ProgramTestCase, proc_status

# Sounds on: with no sound server in the sandbox the program tries to reach one now and
# then and beeps instead, which must not leak either.
SOUNDS_ON = "2\r\n5\r\n0\r\nEnglish.lng\r\n1\r\n0\r\n0\r\n3\r\n"
KINDS = [(Button.RIGHT, 2), (Button.DOUBLE, 4), (Button.LEFT, 2)]


def figures(pid):
    """Resident memory and its peak in KiB, and open descriptors."""
    return (proc_status(pid, "VmRSS:"), proc_status(pid, "VmHWM:"),
            len(os.listdir(f"/proc/{pid}/fd")))


class SoakRun(ProgramTestCase):
    def sweep(self, seconds):
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            self.angle += 0.15
            self.x.move(640 + int(400 * math.cos(self.angle)),
                        512 + int(350 * math.sin(self.angle)))
            time.sleep(0.05)

    def test_memory_and_open_files_stay_flat(self):
        self.sandbox.write_settings(SOUNDS_ON)
        pid = self.start_parked().pid
        started, self.angle = time.monotonic(), 0.0
        end = started + 60 * int(os.environ.get("TZ_SOAK_MINUTES") or 10)
        kind, rests, clicked, choices, first, minute, cycle = 2, 0, 0, 0, None, 0, 0
        print("minute   VmRSS KiB   VmHWM KiB   open files   rests clicked")
        while time.monotonic() < end:
            self.sweep(2)
            r = self.recorder.rect
            spot = (r.x + 30 + (cycle % 5) * 40, self.recorder.centre[1] + (cycle % 3) * 30 - 30)
            events = self.rest_at(spot, KINDS[kind][1], 3)
            rests += 1
            clicked += bool(events) and events[0].startswith("press")
            if cycle % 4 == 3:
                kind = (kind + 1) % len(KINDS)
                self.move_onto(KINDS[kind][0])
                time.sleep(0.3)
                choices += 1
                self.x.move(ELSEWHERE)
            cycle += 1
            if time.monotonic() - started >= 60 * (minute + 1):
                minute += 1
                now = figures(pid)
                first = first or now
                print(f"{minute:6}{now[0]:12}{now[1]:12}{now[2]:13}{rests:8}{clicked:8}",
                      flush=True)
        self.assertTrue(self.run.running(), "the program ended during the run")
        last = figures(pid)
        print(f"after the first minute: {first[0]} KiB, {first[2]} files; at the end: "
              f"{last[0]} KiB, {last[2]} files; {choices} click kinds chosen")
        self.assertLessEqual(abs(last[0] - first[0]), 1024)
        self.assertLessEqual(last[2], first[2])
        self.assertEqual(clicked, rests, "some rests did not click")
        self.assertEqual(self.x.find(lambda w: w.viewable and w.pid == pid and
                                     w.rect.w != BAR_WIDTH), [], self.windows())


if __name__ == "__main__":
    unittest.main()
