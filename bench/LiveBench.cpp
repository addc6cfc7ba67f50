// Figures of the real program (the tests' build, whose update check fails at
// once) running in a sandboxed copy of the program folder on a private Xvfb:
// start-up time, dwell latency, CPU time idle and with a moving pointer,
// resident memory, and settings file activity while the pointer sweeps the
// bar. Times of X events are the server's own timestamps (1 ms).
//   usage: tz_bench_live [seconds per CPU measurement, default 60]
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "harness/BarDriver.h"
#include "harness/ProgramRun.h"
#include "harness/Sandbox.h"
#include "harness/X11Client.h"
#include "harness/XvfbServer.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;
using tz::e2e::Point;

constexpr const char* kSettings = "2\r\n5\r\n0\r\nEnglish.lng\r\n0\r\n0\r\n0\r\n3\r\n";
constexpr Point kStill{1100, 120};  // away from the bar and the target

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[index];
}

void report(const char* what, const char* unit, const std::vector<double>& v) {
    std::printf("%-34s n=%zu  min %.1f  median %.1f  max %.1f %s\n", what, v.size(),
                percentile(v, 0), percentile(v, 0.5), percentile(v, 1), unit);
}

// Waits for the next X event on `dpy` up to `deadline`.
bool nextEvent(Display* dpy, XEvent& event, Clock::time_point deadline) {
    while (XPending(dpy) == 0) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd p{ConnectionNumber(dpy), POLLIN, 0};
        ::poll(&p, 1, static_cast<int>(std::min<long long>(left.count(), 100)));
    }
    XNextEvent(dpy, &event);
    return true;
}

// CPU time of all the process's threads: ticks of utime + stime, and the
// scheduler's nanoseconds on a CPU summed over the threads.
struct CpuTime {
    double statSeconds = 0;
    double schedSeconds = 0;
};

CpuTime cpuTime(pid_t pid) {
    CpuTime t;
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) {
            utime = std::stoull(field);
        } else if (i == 15) {
            stime = std::stoull(field);
        }
    }
    t.statSeconds = static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
    for (const auto& task : fs::directory_iterator("/proc/" + std::to_string(pid) + "/task")) {
        std::ifstream sched(task.path() / "schedstat");
        unsigned long long ns = 0;
        sched >> ns;
        t.schedSeconds += static_cast<double>(ns) / 1e9;
    }
    return t;
}

long statusKiB(pid_t pid, const std::string& key) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string name;
    long value = -1;
    while (status >> name) {
        if (name == key + ":") {
            status >> value;
            return value;
        }
    }
    return -1;
}

class Bench {
  public:
    Bench() : sandbox_(TZ_DIST_DIR), x11_(xvfb_.display()) {
        fs::copy_file(TZ_BENCH_PROGRAM, sandbox_.executable(),
                      fs::copy_options::overwrite_existing);
        sandbox_.writeSettings(kSettings);
        const auto clientConfig = sandbox_.root() / "pulse-client.conf";
        std::ofstream(clientConfig) << "autospawn = no\n";
        options_.environment.emplace_back("PULSE_CLIENTCONFIG", clientConfig.string());
        dpy_ = XOpenDisplay(xvfb_.display().c_str());
        root_ = DefaultRootWindow(dpy_);
    }
    ~Bench() { XCloseDisplay(dpy_); }

    // Process start to the bar's unmapping after its slide, `runs` times.
    void startUp(int runs) {
        std::vector<double> times;
        XSelectInput(dpy_, root_, SubstructureNotifyMask);
        for (int i = 0; i < runs; ++i) {
            x11_.movePointer(kStill);
            XSync(dpy_, True);
            const auto started = Clock::now();
            tz::e2e::ProgramRun run(sandbox_, xvfb_.display(), options_);
            Window bar = 0;
            XEvent event;
            const auto deadline = started + 30s;
            std::optional<double> parked;
            while (!parked && nextEvent(dpy_, event, deadline)) {
                if (event.type == MapNotify && bar == 0) {
                    XWindowAttributes a{};
                    if (XGetWindowAttributes(dpy_, event.xmap.window, &a) &&
                        a.width == tz::e2e::bar::kWidth) {
                        bar = event.xmap.window;
                    }
                } else if (event.type == UnmapNotify && bar != 0 && event.xunmap.window == bar) {
                    parked =
                        std::chrono::duration<double, std::milli>(Clock::now() - started).count();
                }
            }
            if (parked) {
                times.push_back(*parked);
            }
            run.stop();
        }
        XSelectInput(dpy_, root_, NoEventMask);
        report("start to bar parked", "ms", times);
    }

    void startProgram() {
        x11_.movePointer(kStill);
        run_.emplace(sandbox_, xvfb_.display(), options_);
        tz::e2e::BarDriver bar(x11_, run_->pid());
        if (!bar.waitParked(30s)) {
            std::fprintf(stderr, "the bar did not park\n");
            std::exit(1);
        }
        std::this_thread::sleep_for(2s);
    }

    // CPU share of one core over `seconds`, the pointer still or moving.
    void cpu(int seconds, bool moving) {
        x11_.movePointer(kStill);
        std::this_thread::sleep_for(1s);
        const CpuTime before = cpuTime(run_->pid());
        const auto start = Clock::now();
        const auto end = start + std::chrono::seconds(seconds);
        double angle = 0;
        while (Clock::now() < end) {
            if (moving) {
                angle += 0.2;
                x11_.movePointer(900 + static_cast<int>(150 * std::cos(angle)),
                                 700 + static_cast<int>(150 * std::sin(angle)));
                std::this_thread::sleep_for(50ms);
            } else {
                std::this_thread::sleep_for(100ms);
            }
        }
        const CpuTime after = cpuTime(run_->pid());
        const double wall = std::chrono::duration<double>(Clock::now() - start).count();
        std::printf("%-34s %.3f %% of a core (utime+stime %.2f s, on-CPU %.3f s over %.0f s)\n",
                    moving ? "CPU, pointer moving 20 Hz" : "CPU, pointer still",
                    100 * (after.schedSeconds - before.schedSeconds) / wall,
                    after.statSeconds - before.statSeconds,
                    after.schedSeconds - before.schedSeconds, wall);
    }

    void memory(const char* when) {
        std::printf("%-34s VmRSS %ld KiB, VmHWM %ld KiB\n", when, statusKiB(run_->pid(), "VmRSS"),
                    statusKiB(run_->pid(), "VmHWM"));
    }

    // From the pointer's arrival on a target to the press the program
    // injects there, both as the X server stamped them. A rest carries the
    // ticks counted since the last click, so each measured rest starts within
    // 90 ms of the previous click, before another tick could count, at a
    // random point of the tick period; the first rest only sets this up.
    void dwellLatency(int rests) {
        XSetWindowAttributes attrs{};
        attrs.override_redirect = True;
        attrs.background_pixel = WhitePixel(dpy_, DefaultScreen(dpy_));
        attrs.event_mask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
        const Window target =
            XCreateWindow(dpy_, root_, 300, 250, 600, 400, 0, CopyFromParent, InputOutput,
                          CopyFromParent, CWOverrideRedirect | CWBackPixel | CWEventMask, &attrs);
        XMapRaised(dpy_, target);
        XSync(dpy_, False);
        std::vector<double> latencies;
        std::mt19937 random(7);
        for (int i = -1; i < rests; ++i) {
            const int k = i + 1;  // 0 for the first rest
            const int x = 350 + (k % 5) * 100, y = 300 + (k % 3) * 100;
            XTestFakeMotionEvent(dpy_, -1, x, y, CurrentTime);
            XFlush(dpy_);
            std::optional<Time> arrived, pressed;
            XEvent event;
            const auto deadline = Clock::now() + 5s;
            while (nextEvent(dpy_, event, deadline)) {
                if (event.type == MotionNotify && event.xmotion.x_root == x &&
                    event.xmotion.y_root == y) {
                    arrived = event.xmotion.time;
                } else if (event.type == ButtonPress && arrived) {
                    pressed = event.xbutton.time;
                } else if (event.type == ButtonRelease && pressed) {
                    break;
                }
            }
            if (i >= 0 && arrived && pressed) {
                latencies.push_back(static_cast<double>(*pressed - *arrived));
            }
            std::this_thread::sleep_for(
                std::chrono::milliseconds(std::uniform_int_distribution<int>(0, 90)(random)));
        }
        XDestroyWindow(dpy_, target);
        XSync(dpy_, True);
        report("dwell latency, delay 0.5 s", "ms", latencies);
    }

    // Saves (renames onto the settings file) and reads of it while the
    // pointer changes button on the bar, and while it moves within one.
    void settingsActivity(int seconds) {
        const int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        inotify_add_watch(fd, sandbox_.programFolder().c_str(), IN_MOVED_TO | IN_OPEN);
        const auto count = [fd](long& saves, long& reads) {
            alignas(inotify_event) char buffer[65536];
            ssize_t n;
            while ((n = ::read(fd, buffer, sizeof buffer)) > 0) {
                for (char* p = buffer; p < buffer + n;) {
                    const auto* e = reinterpret_cast<const inotify_event*>(p);
                    if (e->len > 0 && std::string(e->name) == tz::e2e::Sandbox::kSettingsName) {
                        (e->mask & IN_MOVED_TO ? saves : reads)++;
                    }
                    p += sizeof(inotify_event) + e->len;
                }
            }
        };
        tz::e2e::BarDriver bar(x11_, run_->pid());
        const auto phase = [&](const char* what, const std::function<Point(int)>& spot, int hz) {
            const auto shown = bar.showAtEdge(400, 5s);
            if (!shown) {
                std::printf("%-34s the bar did not appear\n", what);
                return;
            }
            // Onto the first spot, whose button may be another than the one
            // that called the bar up; counting starts after that save.
            x11_.movePointer(shown->geometry.x + spot(0).x, shown->geometry.y + spot(0).y);
            std::this_thread::sleep_for(300ms);
            long saves = 0, reads = 0, moves = 0;
            count(saves, reads);
            saves = reads = 0;
            const auto end = Clock::now() + std::chrono::seconds(seconds);
            for (int i = 1; Clock::now() < end; ++i, ++moves) {
                const Point p = spot(i);
                x11_.movePointer(shown->geometry.x + p.x, shown->geometry.y + p.y);
                std::this_thread::sleep_for(std::chrono::milliseconds(1000 / hz));
            }
            std::this_thread::sleep_for(300ms);
            count(saves, reads);
            std::printf("%-34s %ld moves: %.2f saves/s, %.2f reads/s (%ld saves, %ld reads)\n",
                        what, moves, static_cast<double>(saves) / seconds,
                        static_cast<double>(reads) / seconds, saves, reads);
            x11_.movePointer(kStill);
            std::this_thread::sleep_for(500ms);
        };
        using tz::e2e::bar::Button;
        static constexpr Button kButtons[] = {Button::NoClick, Button::Double, Button::Left,
                                              Button::Drag, Button::Right};
        phase(
            "settings, new button 10 times/s",
            [](int i) { return tz::e2e::bar::buttonRect(kButtons[i % 5]).centre(); }, 10);
        phase(
            "settings, within one button 20 Hz",
            [](int i) {
                const Point c = tz::e2e::bar::buttonRect(Button::Right).centre();
                return Point{c.x - 8 + (i * 7) % 17, c.y - 10 + (i * 5) % 21};
            },
            20);
        ::close(fd);
    }

    pid_t pid() const { return run_->pid(); }

  private:
    tz::e2e::XvfbServer xvfb_;
    tz::e2e::Sandbox sandbox_;
    tz::e2e::X11Client x11_;
    tz::e2e::ProgramOptions options_;
    Display* dpy_ = nullptr;
    Window root_ = 0;
    std::optional<tz::e2e::ProgramRun> run_;
};

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::max(5, std::atoi(argv[1])) : 60;
    Bench bench;
    bench.startUp(10);
    bench.startProgram();
    bench.memory("memory at idle after start");
    bench.cpu(seconds, false);
    bench.memory("memory at idle");
    bench.cpu(seconds, true);
    bench.dwellLatency(20);
    bench.settingsActivity(10);
    bench.memory("memory at the end");
    return 0;
}
