#pragma once
// A private Xvfb, a sandboxed copy of the program folder whose executable is
// the test build of the program (its update check fails at once instead of
// waiting for the network), a recorder window, and the program runs started
// in it. Logs of the runs are printed when a test fails.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "harness/BarDriver.h"
#include "harness/ProgramRun.h"
#include "harness/Recorder.h"
#include "harness/Sandbox.h"
#include "harness/Wait.h"
#include "harness/X11Client.h"
#include "harness/XvfbServer.h"

namespace tz::faults {

using namespace tz::e2e;

// Tolerance 2, delay 5, no autostart, English, sound off, middle-click button
// hidden, right edge off, left click.
inline constexpr const char* kSettings = "2\r\n5\r\n0\r\nEnglish.lng\r\n0\r\n0\r\n0\r\n3\r\n";
// Away from the bar and from the recorder.
inline constexpr Point kElsewhere{900, 800};

// The names in the program folder (not recursive), sorted.
std::vector<std::string> folderEntries(const std::filesystem::path& folder);

// Resident memory (VmRSS) and its peak (VmHWM) in KiB, and open descriptors.
struct ProcessFigures {
    long rssKiB = -1;
    long peakKiB = -1;
    int openFiles = -1;
};
ProcessFigures processFigures(pid_t pid);

class ProgramFixture : public ::testing::Test {
  protected:
    ProgramFixture();
    void TearDown() override;

    ProgramRun& start(ProgramOptions options = {});
    // Starts the program and waits, generously, until its bar has slid away.
    void startParked(ProgramOptions options = {});
    // Calls up the bar and rests a moment on `button`, which selects it.
    void hover(bar::Button button);
    // Moves to `spot` with an empty record and returns the events once `count`
    // arrived or `timeout` passed, after a short grace period for surplus ones.
    std::vector<ButtonEvent> restAt(Point spot, size_t count,
                                    std::chrono::milliseconds timeout = 10s);
    // Viewable top-level windows of the program other than the bar.
    std::vector<WindowInfo> otherProgramWindows() const;
    std::string windows() const;

    XvfbServer xvfb_;
    Sandbox sandbox_;
    X11Client x11_;
    Recorder recorder_;
    std::vector<std::unique_ptr<ProgramRun>> runs_;
    std::optional<BarDriver> bar_;
};

}  // namespace tz::faults
