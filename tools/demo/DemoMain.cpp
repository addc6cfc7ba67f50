// tz-demo: a short scripted dwell-clicking session on a private Xvfb, for
// machines without a desktop. Prints each step and saves screenshots.
//
//   tz-demo <output folder> [program folder]
#include <QImage>
#include <QPainter>
#include <QPolygon>

#include <filesystem>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>

#include "harness/BarDriver.h"
#include "harness/Process.h"
#include "harness/ProgramRun.h"
#include "harness/Recorder.h"
#include "harness/Sandbox.h"
#include "harness/Wait.h"
#include "harness/X11Client.h"
#include "harness/XvfbServer.h"

namespace {

namespace fs = std::filesystem;
using namespace tz::e2e;

// Delay 5 tenths, sound off, middle-click button hidden, left click.
constexpr const char* kSettings = "2\r\n5\r\n0\r\nEnglish.lng\r\n0\r\n0\r\n0\r\n3\r\n";
constexpr Point kElsewhere{900, 800};

struct StepFailed : std::runtime_error {
    using std::runtime_error::runtime_error;
};

void require(bool ok, const std::string& what) {
    if (!ok) {
        throw StepFailed(what);
    }
}

// A screen grab with the pointer position (X does not include the cursor).
struct Shot {
    Screenshot screen;
    Point pointer;
};

void savePng(const Shot& shot, const fs::path& path) {
    QImage image(reinterpret_cast<const uchar*>(shot.screen.pixels.data()), shot.screen.width,
                 shot.screen.height, shot.screen.width * 4, QImage::Format_RGB32);
    QImage copy = image.copy();
    QPainter painter(&copy);
    painter.setRenderHint(QPainter::Antialiasing);
    const int x = shot.pointer.x;
    const int y = shot.pointer.y;
    const QPolygon arrow({QPoint(x, y), QPoint(x, y + 21), QPoint(x + 5, y + 16),
                          QPoint(x + 9, y + 25), QPoint(x + 12, y + 23), QPoint(x + 8, y + 15),
                          QPoint(x + 15, y + 15)});
    painter.setPen(QPen(Qt::white, 1.5));
    painter.setBrush(Qt::black);
    painter.drawPolygon(arrow);
    painter.end();
    require(copy.save(QString::fromStdString(path.string()), "PNG"),
            "could not write " + path.string());
}

class Demo {
  public:
    Demo(fs::path outDir, fs::path distDir)
        : outDir_(std::move(outDir)), distDir_(std::move(distDir)) {}

    void run() {
        fs::create_directories(outDir_);
        XvfbServer xvfb;
        x11DisplayName_ = xvfb.display();
        step("Starting the program on a private X display " + xvfb.display());
        Sandbox sandbox(distDir_);
        sandbox.writeSettings(kSettings);
        X11Client x11(xvfb.display());
        Recorder target(xvfb.display());
        target.setLabel("Target: 0 clicks");
        x11.movePointer(kElsewhere);
        ProgramRun program(sandbox, xvfb.display());
        try {
            script(sandbox, x11, target, program);
        } catch (const std::exception&) {
            std::cerr << "---- program output\n" << program.log() << "---- end of program output\n";
            throw;
        }
        std::cout << "Screenshots are in " << fs::absolute(outDir_).string() << std::endl;
    }

  private:
    void script(Sandbox& sandbox, X11Client& x11, Recorder& target, ProgramRun& program) {
        BarDriver bar(x11, program.pid());
        const bool seen = waitUntil(
            [&] {
                const auto b = bar.find();
                return b && b->viewable();
            },
            10s);
        save(grab(x11), "01-start.png");
        step(seen ? "The program is up: its bar shows at the left edge and slides away"
                  : "The program is up");

        require(bar.waitParked(15s), "the bar never slid away and parked hidden");
        step("The bar slid out of sight and is parked");

        const Rect right = bar::buttonRect(bar::Button::Right);
        require(bar.showAtEdge(bar::kTop + right.centre().y, 5s).has_value(),
                "the bar did not appear with the pointer at the left edge");
        step("Pointer touches the left edge: the bar appears");
        save(grab(x11), "02-bar-shown.png");

        require(bar.moveOnto(bar::Button::Right, 5s).has_value(), "the bar went away");
        const bool saved = waitUntil([&] { return sandbox.settingsLine(8) == "5"; }, 5s);
        // Grab at once and leave: a rest on the button would click it.
        const Shot picked = grab(x11);
        target.clear();
        x11.movePointer(target.centre());
        require(saved, "line 8 of the settings file did not become 5");
        step("Moving onto the right-click button: right click selected (saved as line 8)");
        save(picked, "03-mode-picked.png");

        require(target.waitForEvents(2, 5s) &&
                    target.events() == std::vector<ButtonEvent>{press(3), release(3)},
                "the target did not receive one right click");
        target.setLabel("Target: 1 click (right)");
        step("Resting over the target window: it received a right click");
        sleepFor(200ms);
        save(grab(x11), "04-after-click.png");

        sleepFor(1500ms);
        require(target.events().size() == 2, "a continued rest clicked again");
        step("Staying still: no second click");

        x11.movePointer(target.centre().x + 60, target.centre().y + 30);
        require(target.waitForEvents(4, 5s), "no click after the second rest");
        target.setLabel("Target: 2 clicks (right)");
        step("Moving a little and resting again: a second right click");
        sleepFor(200ms);
        save(grab(x11), "05-second-click.png");

        program.terminate();
        require(program.waitForExit(10s).has_value(), "the program did not end on SIGTERM");
        step("Program stopped (" + describeStatus(*program.exitStatus()) + ")");

        doubleSize(sandbox, x11);
    }

    // The program again on a desktop that draws windows at double size: the
    // bar keeps its layout, twice as large, with pictures drawn for that size.
    void doubleSize(Sandbox& sandbox, X11Client& x11) {
        x11.movePointer(kElsewhere);
        ProgramOptions options;
        options.environment = {{"QT_SCALE_FACTOR", "2"}};
        ProgramRun program(sandbox, x11DisplayName_, options);
        const auto bar = [&] {
            const auto found = x11.findWindows([&](const WindowInfo& w) {
                return w.pid == program.pid() && w.geometry.width == 2 * bar::kWidth;
            });
            return found.empty() ? std::nullopt : std::optional<WindowInfo>(found.front());
        };
        require(waitUntil(
                    [&] {
                        const auto b = bar();
                        return b && !b->viewable() && x11.wasMapped(b->id);
                    },
                    15s),
                "at double size the bar never slid away and parked hidden");
        x11.movePointer(0, 400);
        std::optional<WindowInfo> shown;
        // At the edge itself: a bar still sliding away is viewable too.
        require(
            waitUntil(
                [&] { return (shown = bar()) && shown->viewable() && shown->geometry.x == 0; }, 5s),
            "at double size the bar did not appear at the left edge");
        const Point spot = bar::buttonRect(bar::Button::Right).centre();
        x11.movePointer(shown->geometry.x + 2 * spot.x, shown->geometry.y + 2 * spot.y);
        sleepFor(300ms);
        step("At double size (QT_SCALE_FACTOR=2) the bar keeps its layout, twice as large");
        save(grab(x11), "06-bar-at-2x.png");
        x11.movePointer(kElsewhere);
        program.terminate();
        require(program.waitForExit(10s).has_value(), "the program did not end on SIGTERM");
    }

    void step(const std::string& text) {
        std::cout << "[" << ++steps_ << "] " << text << std::endl;
    }

    static Shot grab(X11Client& x11) { return {x11.grabScreen(), x11.pointer()}; }

    void save(const Shot& shot, const std::string& name) const { savePng(shot, outDir_ / name); }

    fs::path outDir_;
    fs::path distDir_;
    std::string x11DisplayName_;
    int steps_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: " << argv[0] << " <output folder> [program folder]\n";
        return 2;
    }
    Demo demo(argv[1], argc == 3 ? fs::path(argv[2]) : fs::path(TZ_DIST_DIR));
    try {
        demo.run();
    } catch (const std::exception& e) {
        std::cerr << "Demo failed: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
