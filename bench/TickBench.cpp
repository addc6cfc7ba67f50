// The dwell timer's period in the real bar window: the program's own start-up
// and windows (Application, ClickBar, the X11 pointer and XTest clicks) run in
// this process on a private Xvfb, with the pointer wrapped so that every
// sample the engine takes is time-stamped. The tick's first act is that
// sample, so the stamps' spacing is the timer's period as the engine sees it,
// and the wrapped call's own length is the XQueryPointer round trip.
// Runs on $DISPLAY (bench/run.sh gives it a private Xvfb) in a temporary copy
// of the program folder.
//   usage: tz_bench_ticks [ticks, default 600] [file for the periods, one per line]
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/Application.h"
#include "platform/linux/DesktopShell.h"
#include "platform/linux/PulseSound.h"
#include "platform/linux/QtScreenMetrics.h"
#include "platform/linux/X11Connection.h"
#include "platform/linux/X11GlobalKey.h"
#include "platform/linux/X11Pointer.h"
#include "platform/linux/X11PressWatch.h"
#include "platform/linux/XTestInjector.h"
#include "platform/posix/EnvLocale.h"
#include "platform/posix/FetchHelperProcess.h"
#include "platform/posix/RuntimeDirLock.h"
#include "platform/posix/XdgAutostartStore.h"

namespace {

using Clock = std::chrono::steady_clock;

class StampingPointer : public tz::Pointer {
  public:
    StampingPointer(tz::Pointer& inner, std::size_t samples) : inner_(inner), wanted_(samples) {
        stamps.reserve(samples);
        calls.reserve(samples);
    }
    tz::PointerPosition position() override {
        const auto before = Clock::now();
        const tz::PointerPosition p = inner_.position();
        const auto after = Clock::now();
        if (stamps.size() < wanted_) {
            stamps.push_back(before);
            calls.push_back(std::chrono::duration<double, std::micro>(after - before).count());
            if (stamps.size() == wanted_) {
                QCoreApplication::quit();
            }
        }
        return p;
    }
    std::vector<Clock::time_point> stamps;
    std::vector<double> calls;  // microseconds

  private:
    tz::Pointer& inner_;
    std::size_t wanted_;
};

// Without motion watching the timer never sleeps, so every period is timed
// whether or not the pointer moves.
class NoMotionWatch : public tz::PointerMotionWatch {
  public:
    bool available() override { return false; }
    void notifyOnNextMotion(std::function<void()>) override {}
    void cancel() override {}
};

class FixedFolder : public tz::ProgramFolder {
  public:
    explicit FixedFolder(std::string folder) : folder_(std::move(folder)) {}
    std::string folder() override { return folder_; }
    std::string executablePath() override { return folder_ + "/tindro-zevad"; }

  private:
    std::string folder_;
};

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[index];
}

void report(const char* what, const char* unit, const std::vector<double>& v) {
    std::printf("%-28s n=%zu  min %.3f  median %.3f  p99 %.3f  max %.3f %s\n", what, v.size(),
                percentile(v, 0), percentile(v, 0.5), percentile(v, 0.99), percentile(v, 1), unit);
}

}  // namespace

int main(int argc, char** argv) {
    const int ticks = argc > 1 ? std::max(10, std::atoi(argv[1])) : 600;
    namespace fs = std::filesystem;
    std::string rootTemplate = (fs::temp_directory_path() / "tz-bench-XXXXXX").string();
    if (mkdtemp(rootTemplate.data()) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const fs::path root = rootTemplate;
    const fs::path programFolder = root / "program";
    fs::copy(TZ_DIST_DIR, programFolder, fs::copy_options::recursive);
    std::ofstream(programFolder / "Tindro Zevad.ini", std::ios::binary)
        << "2\r\n5\r\n0\r\nEnglish.lng\r\n0\r\n0\r\n0\r\n3\r\n";
    for (const char* dir : {"home", "runtime"}) {
        fs::create_directory(root / dir);
        fs::permissions(root / dir, fs::perms::owner_all);
    }
    setenv("HOME", (root / "home").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root / "home/.config").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (root / "runtime").c_str(), 1);
    // As the program's main() does.
    setenv("QT_XCB_GL_INTEGRATION", "none", 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 1);

    tz::X11Connection x11;
    if (!x11.isOpen()) {
        std::fprintf(stderr, "cannot open the display %s\n", std::getenv("DISPLAY"));
        return 1;
    }
    QApplication qtApp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tindro-zevad"));
    QApplication::setQuitOnLastWindowClosed(false);

    tz::X11Pointer realPointer(x11);
    // One more sample than periods.
    StampingPointer pointer(realPointer, static_cast<std::size_t>(ticks) + 1);
    tz::XTestInjector injector(x11);
    tz::QtScreenMetrics screen(x11);
    tz::PulseSound sound(x11);
    tz::DesktopShell shell;
    FixedFolder folder(programFolder.string());
    tz::EnvLocale locale;
    tz::RuntimeDirLock instanceLock;
    tz::XdgAutostartStore startupEntry;
    tz::FetchHelperProcess http((programFolder / "tindro-zevad-fetch").string());
    NoMotionWatch motionWatch;
    tz::X11PressWatch pressWatch(x11);
    tz::X11GlobalKey pauseKey;
    tz::Platform platform{pointer,     injector,   screen,       sound,        shell,
                          folder,      locale,     instanceLock, startupEntry, http,
                          motionWatch, pressWatch, pauseKey};
    tz::Application app(platform, "");  // no update check
    app.run();

    std::vector<double> periods;
    for (std::size_t i = 1; i < pointer.stamps.size(); ++i) {
        periods.push_back(
            std::chrono::duration<double, std::milli>(pointer.stamps[i] - pointer.stamps[i - 1])
                .count());
    }
    if (argc > 2) {
        std::FILE* out = std::fopen(argv[2], "w");
        for (std::size_t i = 0; out != nullptr && i < periods.size(); ++i) {
            std::fprintf(out, "%.3f %.1f\n", periods[i], pointer.calls[i + 1]);
        }
        if (out != nullptr) {
            std::fclose(out);
        }
    }
    fs::remove_all(root);
    report("tick period", "ms", periods);
    report("XQueryPointer round trip", "us", pointer.calls);
    return 0;
}
