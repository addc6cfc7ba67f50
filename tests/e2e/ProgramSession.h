#pragma once
// The common ground of the end-to-end tests that operate the program as its
// users do: a private display with a click recorder and a global click
// monitor, a sandbox copy of the program folder, and helpers that start the
// program, find its windows on the X server and rest the pointer on things.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
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
inline constexpr const char* kEnglishSettings =
    "2\r\n5\r\n0\r\nEnglish.lng\r\n0\r\n0\r\n0\r\n3\r\n";

// Clear of the bar, the options and exit windows, the file dialog and the
// message boxes, which all sit nearer the middle of the 1280x1024 screen.
inline constexpr Rect kRecorderPlace{960, 760, 240, 180};
// Nothing there at all.
inline constexpr Point kNowhere{1150, 60};

// Entry `entry` of a language file: its line (CR LF separated) without the
// three tag characters in front.
inline std::string languageText(const std::filesystem::path& file, int entry) {
    std::ifstream in(file, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    size_t start = 0;
    for (int line = 0; line < entry && start != std::string::npos; ++line) {
        start = text.find("\r\n", start);
        start = start == std::string::npos ? start : start + 2;
    }
    if (start == std::string::npos) {
        return {};
    }
    const std::string line = text.substr(start, text.find("\r\n", start) - start);
    size_t at = 0;
    for (int characters = 0; characters < 3 && at < line.size(); ++characters) {
        do {
            ++at;
        } while (at < line.size() && (static_cast<unsigned char>(line[at]) & 0xC0) == 0x80);
    }
    return line.substr(at);
}

class ProgramSession : public ::testing::Test {
  protected:
    ProgramSession()
        : sandbox_(TZ_DIST_DIR),
          x11_(xvfb_.display()),
          recorder_(xvfb_.display(), kRecorderPlace),
          monitor_(xvfb_.display()) {
        x11_.movePointer(kNowhere);
    }

    void TearDown() override { stopRuns(runs_, HasFailure()); }

    // Starts a run; the bar driver follows it.
    ProgramRun& start(ProgramOptions options = {}) {
        ProgramRun& run = launch(std::move(options));
        bar_.emplace(x11_, run.pid());
        return run;
    }

    // Starts a run that the bar driver does not follow (a second instance).
    ProgramRun& launch(ProgramOptions options = {}) {
        runs_.push_back(
            std::make_unique<ProgramRun>(sandbox_, xvfb_.display(), std::move(options)));
        return *runs_.back();
    }

    // Starts a run and waits until its bar has slid away and is parked.
    // Helpers assert: call them inside ASSERT_NO_FATAL_FAILURE.
    void startParked(ProgramOptions options = {}) {
        start(std::move(options));
        ASSERT_TRUE(bar_->waitParked(20s)) << "the bar was not shown and then hidden\n"
                                           << windows();
    }

    // A viewable top-level window of process `pid` of the given size.
    std::optional<WindowInfo> waitForWindow(pid_t pid, int width, int height,
                                            std::chrono::milliseconds timeout = 5s) const {
        return x11_.waitFor(
            [&](const WindowInfo& w) {
                return w.pid == pid && w.viewable() && w.geometry.width == width &&
                       w.geometry.height == height;
            },
            timeout);
    }

    // A viewable top-level window of process `pid` with that title.
    std::optional<WindowInfo> waitForTitle(pid_t pid, const std::string& title,
                                           std::chrono::milliseconds timeout = 10s) const {
        return x11_.waitFor(
            [&](const WindowInfo& w) { return w.pid == pid && w.viewable() && w.title == title; },
            timeout);
    }

    bool waitGone(unsigned long window, std::chrono::milliseconds timeout = 5s) const {
        return waitUntil(
            [&] {
                return x11_
                    .findWindows(
                        [&](const WindowInfo& w) { return w.id == window && w.viewable(); })
                    .empty();
            },
            timeout);
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

    // Rests the pointer on `spot` until the program's left click lands there.
    // The pointer must come from at least a few pixels away.
    bool restAndClick(Point spot, std::chrono::milliseconds timeout = 5s) {
        monitor_.clear();
        x11_.movePointer(spot);
        return waitUntil(
            [&] {
                for (const auto& e : monitor_.events()) {
                    if (e.button == 1 && !e.pressed && e.at == spot) {
                        return true;
                    }
                }
                return false;
            },
            timeout);
    }

    // Calls up the bar and rests on one of its buttons; the options and exit
    // buttons open their window after 1.5 s.
    void moveOntoBarButton(bar::Button button) {
        ASSERT_TRUE(bar_->moveOnto(button, 5s)) << "the bar did not appear\n" << windows();
    }

    std::string text(const std::string& languageFile, int entry) const {
        return languageText(sandbox_.programFolder() / "Lang" / languageFile, entry);
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
