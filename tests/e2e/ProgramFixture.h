#pragma once
// The common ground of the end-to-end and fault tests, which operate the
// program as its users do: a private display with a click recorder and a
// global click monitor, a sandbox copy of the program folder holding the
// settings below, and helpers that start the program, find its windows on the
// X server and rest the pointer on things. Logs of the runs are printed when a
// test fails. Helpers that assert are called inside ASSERT_NO_FATAL_FAILURE.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "harness/BarDriver.h"
#include "harness/ClickMonitor.h"
#include "harness/DialogButtons.h"
#include "harness/Process.h"
#include "harness/ProgramRun.h"
#include "harness/Recorder.h"
#include "harness/Sandbox.h"
#include "harness/Wait.h"
#include "harness/X11Client.h"
#include "harness/XvfbServer.h"

namespace tz::e2e {

// Tolerance 2, delay 5 tenths, no autostart, English, sounds off, middle-click
// button hidden, left edge only, left click.
inline constexpr const char* kSettings = "2\r\n5\r\n0\r\nEnglish.lng\r\n0\r\n0\r\n0\r\n3\r\n";
// Clear of the bar, the options and exit windows, the file dialog and the
// message boxes, which all sit nearer the middle of the 1280x1024 screen.
inline constexpr Rect kRecorderPlace{960, 760, 240, 180};
// Nothing there at all.
inline constexpr Point kElsewhere{1150, 60};
// Window titles from the language files.
inline constexpr const char* kProgramName = "Tindro Zevad Free";
inline constexpr const char* kOptionsTitle = "Options";

// The names in a folder (not recursive), sorted.
inline std::vector<std::string> folderEntries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The first number of a line of /proc/PID/status ("VmHWM:", "Uid:"); -1 if none.
inline long procStatus(pid_t pid, const std::string& key) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string word; status >> word;) {
        if (word == key) {
            long value = -1;
            status >> value;
            return value;
        }
    }
    return -1;
}

class ProgramFixture : public ::testing::Test {
  protected:
    ProgramFixture()
        : sandbox_(TZ_DIST_DIR),
          x11_(xvfb_.display()),
          recorder_(xvfb_.display(), kRecorderPlace),
          monitor_(xvfb_.display()) {
        sandbox_.writeSettings(kSettings);
        x11_.movePointer(kElsewhere);
    }

    void TearDown() override { stopRuns(runs_, HasFailure()); }

    // Starts a run; the bar driver follows it unless it is a second instance.
    ProgramRun& start(ProgramOptions options = {}, bool followBar = true) {
        // Where no sound server runs, none may be started on the program's behalf.
        const auto clientConfig = sandbox_.root() / "pulse-client.conf";
        std::ofstream(clientConfig) << "autospawn = no\n";
        options.environment.emplace(options.environment.begin(), "PULSE_CLIENTCONFIG",
                                    clientConfig.string());
        runs_.push_back(
            std::make_unique<ProgramRun>(sandbox_, xvfb_.display(), std::move(options)));
        if (followBar) {
            bar_.emplace(x11_, runs_.back()->pid());
        }
        return *runs_.back();
    }

    // Starts a run and waits, generously, until its bar has slid away and is parked.
    void startParked(ProgramOptions options = {}) {
        start(std::move(options));
        ASSERT_TRUE(bar_->waitParked(30s)) << "the bar was not shown and then hidden\n"
                                           << windows();
    }

    ProgramRun& run() { return *runs_.back(); }

    // Calls up the bar and rests on one of its buttons; the options and exit
    // buttons open their window after 1.5 s.
    void moveOnto(bar::Button button) {
        ASSERT_TRUE(bar_->moveOnto(button, 10s)) << "the bar did not appear\n" << windows();
    }

    // Picks a click kind on the bar and waits until it is saved as line 8.
    void choose(bar::Button button) {
        ASSERT_NO_FATAL_FAILURE(moveOnto(button));
        const std::string mode = std::to_string(static_cast<int>(button));
        ASSERT_TRUE(waitUntil([&] { return sandbox_.settingsLine(8) == mode; }, 10s))
            << "line 8 of the settings is not " << mode << ":\n"
            << sandbox_.readSettings().value_or("(no file)").substr(0, 200);
    }

    // Moves to `spot` with an empty record and returns the events once `count`
    // arrived or `timeout` passed, after a short grace period for surplus ones
    // (a long one when none are expected).
    std::vector<ButtonEvent> restAt(Point spot, size_t count,
                                    std::chrono::milliseconds timeout = 10s) {
        recorder_.clear();
        x11_.movePointer(spot);
        recorder_.waitForEvents(count, timeout);
        sleepFor(count == 0 ? 1500ms : 500ms);
        return recorder_.events();
    }

    // Rests the pointer on `spot` until the program's left click lands there.
    // The pointer must come from at least a few pixels away.
    bool restAndClick(Point spot, std::chrono::milliseconds timeout = 5s) {
        monitor_.clear();
        x11_.movePointer(spot);
        return waitUntil(
            [&] {
                const auto events = monitor_.events();
                return std::any_of(events.begin(), events.end(), [&](const auto& e) {
                    return e.button == 1 && !e.pressed && e.at == spot;
                });
            },
            timeout);
    }

    // A viewable top-level window of process `pid` of the given size.
    std::optional<WindowInfo> waitForWindow(pid_t pid, int width, int height) const {
        return x11_.waitFor(
            [&](const WindowInfo& w) {
                return w.pid == pid && w.viewable() && w.geometry.width == width &&
                       w.geometry.height == height;
            },
            5s);
    }

    // A viewable top-level window of process `pid` with that title.
    std::optional<WindowInfo> waitForTitle(pid_t pid, const std::string& title) const {
        return x11_.waitFor(
            [&](const WindowInfo& w) { return w.pid == pid && w.viewable() && w.title == title; },
            10s);
    }

    bool waitGone(unsigned long window) const {
        return waitUntil(
            [&] {
                return x11_
                    .findWindows(
                        [&](const WindowInfo& w) { return w.id == window && w.viewable(); })
                    .empty();
            },
            5s);
    }

    // The buttons along the bottom of a dialog once `count` of them are drawn
    // (a window is viewable a moment before its contents are painted).
    std::vector<Rect> waitForButtons(const WindowInfo& dialog, size_t count) const {
        std::vector<Rect> buttons;
        waitUntil(
            [&] {
                buttons = findBottomButtons(x11_.grabScreen(), dialog.geometry);
                return buttons.size() == count;
            },
            5s, 100ms);
        return buttons;
    }

    // Viewable top-level windows of the last run other than the bar.
    std::vector<WindowInfo> otherProgramWindows() const {
        const pid_t pid = runs_.empty() ? -1 : runs_.back()->pid();
        return x11_.findWindows([pid](const WindowInfo& w) {
            return w.viewable() && w.pid == pid && w.geometry.width != bar::kWidth;
        });
    }

    std::string windows() const { return x11_.describeTopLevelWindows(); }
    std::string clicks() { return ::testing::PrintToString(monitor_.events()); }

    XvfbServer xvfb_;
    Sandbox sandbox_;
    X11Client x11_;
    Recorder recorder_;
    ClickMonitor monitor_;
    std::vector<std::unique_ptr<ProgramRun>> runs_;
    std::optional<BarDriver> bar_;
};

}  // namespace tz::e2e
