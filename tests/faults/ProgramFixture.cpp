#include "ProgramFixture.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "harness/Process.h"

namespace tz::faults {

namespace fs = std::filesystem;

std::vector<std::string> folderEntries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

ProcessFigures processFigures(pid_t pid) {
    ProcessFigures figures;
    const std::string proc = "/proc/" + std::to_string(pid);
    std::ifstream status(proc + "/status");
    std::string line;
    while (std::getline(status, line)) {
        std::istringstream fields(line);
        std::string key;
        long value = 0;
        fields >> key >> value;
        if (key == "VmRSS:") {
            figures.rssKiB = value;
        } else if (key == "VmHWM:") {
            figures.peakKiB = value;
        }
    }
    std::error_code error;
    int count = 0;
    for (auto it = fs::directory_iterator(proc + "/fd", error);
         !error && it != fs::directory_iterator(); it.increment(error)) {
        ++count;
    }
    if (!error) {
        figures.openFiles = count;
    }
    return figures;
}

ProgramFixture::ProgramFixture()
    : sandbox_(TZ_DIST_DIR), x11_(xvfb_.display()), recorder_(xvfb_.display()) {
    x11_.movePointer(kElsewhere);
}

void ProgramFixture::TearDown() {
    stopRuns(runs_, HasFailure());
}

ProgramRun& ProgramFixture::start(ProgramOptions options) {
    // Where no sound server runs, none may be started on the program's behalf.
    const auto clientConfig = sandbox_.root() / "pulse-client.conf";
    std::ofstream(clientConfig) << "autospawn = no\n";
    options.environment.emplace(options.environment.begin(), "PULSE_CLIENTCONFIG",
                                clientConfig.string());
    runs_.push_back(std::make_unique<ProgramRun>(sandbox_, xvfb_.display(), std::move(options)));
    bar_.emplace(x11_, runs_.back()->pid());
    return *runs_.back();
}

void ProgramFixture::startParked(ProgramOptions options) {
    start(std::move(options));
    ASSERT_TRUE(bar_->waitParked(30s)) << "the bar was not shown and then hidden\n" << windows();
}

void ProgramFixture::hover(bar::Button button) {
    ASSERT_TRUE(bar_->moveOnto(button, 10s)) << "the bar did not appear\n" << windows();
    // The bar takes the choice from the pointer's arrival on the button.
    sleepFor(1s);
}

std::vector<ButtonEvent> ProgramFixture::restAt(Point spot, size_t count,
                                                std::chrono::milliseconds timeout) {
    recorder_.clear();
    x11_.movePointer(spot);
    recorder_.waitForEvents(count, timeout);
    sleepFor(500ms);
    return recorder_.events();
}

std::vector<WindowInfo> ProgramFixture::otherProgramWindows() const {
    const pid_t pid = runs_.empty() ? -1 : runs_.back()->pid();
    return x11_.findWindows([pid](const WindowInfo& w) {
        return w.viewable() && w.pid == pid && w.geometry.width != bar::kWidth;
    });
}

std::string ProgramFixture::windows() const {
    return x11_.describeTopLevelWindows();
}

}  // namespace tz::faults
