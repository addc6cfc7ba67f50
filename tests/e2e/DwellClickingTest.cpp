// Dwell clicking end to end: the built program runs on a private Xvfb with its
// own copy of the program folder; the test moves the pointer through XTest and
// watches a target window for the clicks the program injects.
#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <vector>

#include "harness/BarDriver.h"
#include "harness/ClickMonitor.h"
#include "harness/Process.h"
#include "harness/ProgramRun.h"
#include "harness/Recorder.h"
#include "harness/Sandbox.h"
#include "harness/Wait.h"
#include "harness/X11Client.h"
#include "harness/XvfbServer.h"

namespace tz::e2e {
namespace {

// Tolerance 2, delay 5 tenths, no autostart, English, sound off, middle-click
// button hidden, right edge off, left click.
constexpr const char* kSettings = "2\r\n5\r\n0\r\nEnglish.lng\r\n0\r\n0\r\n0\r\n3\r\n";
// Away from the bar and from the target window.
constexpr Point kElsewhere{900, 800};
// Where the bar shows when called up at the left edge.
constexpr Rect kShownBar{0, bar::kTop, bar::kWidth, bar::kHeight};

class DwellClickingTest : public ::testing::Test {
  protected:
    DwellClickingTest()
        : sandbox_(TZ_DIST_DIR),
          x11_(xvfb_.display()),
          recorder_(xvfb_.display()),
          monitor_(xvfb_.display()) {
        sandbox_.writeSettings(kSettings);
    }

    void TearDown() override { stopRuns(runs_, HasFailure()); }

    ProgramRun& start() {
        runs_.push_back(std::make_unique<ProgramRun>(sandbox_, xvfb_.display()));
        bar_.emplace(x11_, runs_.back()->pid());
        return *runs_.back();
    }

    // Starts the program and waits until its bar has slid away and is parked.
    // Helpers assert: call them inside ASSERT_NO_FATAL_FAILURE.
    void startParked() {
        start();
        ASSERT_TRUE(bar_->waitParked(15s)) << "the bar was not shown and then hidden\n"
                                           << windows();
    }

    // Picks a click kind on the bar and waits until it is saved as line 8.
    void selectMode(bar::Button button) {
        ASSERT_TRUE(bar_->moveOnto(button, 5s)) << "the bar did not appear\n" << windows();
        const std::string mode = std::to_string(static_cast<int>(button));
        ASSERT_TRUE(waitUntil([&] { return sandbox_.settingsLine(8) == mode; }, 5s))
            << "line 8 of the settings is not " << mode << ":\n"
            << sandbox_.readSettings().value_or("(no file)");
    }

    // Moves to `spot` with an empty record and returns what the rest there
    // produced once `count` events came (or the wait ran out), plus a short
    // grace period so surplus events show up too.
    std::vector<ButtonEvent> restAt(Point spot, size_t count) {
        recorder_.clear();
        x11_.movePointer(spot);
        recorder_.waitForEvents(count, 5s);
        sleepFor(500ms);
        return recorder_.events();
    }

    std::string windows() const { return x11_.describeTopLevelWindows(); }

    XvfbServer xvfb_;
    Sandbox sandbox_;
    X11Client x11_;
    Recorder recorder_;
    ClickMonitor monitor_;
    std::vector<std::unique_ptr<ProgramRun>> runs_;
    std::optional<BarDriver> bar_;
};

TEST_F(DwellClickingTest, BarParksHiddenAfterStartAndAppearsWhenThePointerTouchesTheLeftEdge) {
    x11_.movePointer(kElsewhere);
    ASSERT_NO_FATAL_FAILURE(startParked());
    EXPECT_EQ(bar_->find()->geometry.width, bar::kWidth);
    EXPECT_EQ(bar_->find()->geometry.height, bar::kHeight);
    sleepFor(500ms);
    EXPECT_FALSE(bar_->find()->viewable()) << "the bar came back without the pointer at the edge";

    // Any height at the edge calls it, here above the bar itself.
    const auto shown = bar_->showAtEdge(100, 5s);
    ASSERT_TRUE(shown) << windows();
    EXPECT_EQ(shown->geometry, kShownBar);
    sleepFor(300ms);
    EXPECT_TRUE(bar_->find()->viewable()) << "the bar went away with the pointer still at the edge";

    x11_.movePointer(kElsewhere);
    EXPECT_TRUE(waitUntil([&] { return !bar_->find()->viewable(); }, 5s))
        << "the bar stayed with the pointer far from it\n"
        << windows();
}

TEST_F(DwellClickingTest, RestClicksLeftOnceAndAContinuedRestClicksNoMore) {
    ASSERT_NO_FATAL_FAILURE(startParked());
    recorder_.clear();
    x11_.movePointer(recorder_.centre());
    ASSERT_TRUE(recorder_.waitForEvents(2, 5s)) << "no click after a rest";
    sleepFor(2s);
    EXPECT_EQ(recorder_.events(), (std::vector<ButtonEvent>{press(1), release(1)}));
}

TEST_F(DwellClickingTest, EveryClickComesAWholeDelayAfterTheLastMove) {
    ASSERT_NO_FATAL_FAILURE(startParked());
    // Pauses shorter than the 0.5 s delay, and rests that last until their
    // click, each after a move to another spot of the target.
    constexpr int kPausesMs[] = {120, 0, 230, 340, 0, 450, 150, 0, 380, 0};
    const Rect target = recorder_.geometry();
    int spot = 0;
    for (int pauseMs : kPausesMs) {
        const Point to{target.x + 30 + (spot * 37) % (target.width - 60),
                       target.y + 30 + (spot * 53) % (target.height - 60)};
        ++spot;
        recorder_.clear();
        x11_.movePointer(to);
        const auto moved = std::chrono::steady_clock::now();
        const auto limit = pauseMs > 0 ? std::chrono::milliseconds(pauseMs) : 3000ms;
        while (recorder_.events().empty() && std::chrono::steady_clock::now() - moved < limit) {
            sleepFor(2ms);
        }
        const auto after = std::chrono::steady_clock::now() - moved;
        if (pauseMs > 0) {
            EXPECT_TRUE(recorder_.events().empty())
                << "a pause of " << pauseMs << " ms clicked after " << (after / 1ms) << " ms";
        } else {
            ASSERT_FALSE(recorder_.events().empty()) << "a rest did not click";
            // Five ticks after the first tick that saw the move; the timer
            // may fire a few milliseconds early.
            EXPECT_GE(after, 490ms) << "a click " << (after / 1ms) << " ms after a move";
            sleepFor(100ms);  // the release
        }
    }
}

TEST_F(DwellClickingTest, RightClickButtonIsSavedAndTheNextRestClicksRight) {
    ASSERT_NO_FATAL_FAILURE(startParked());
    ASSERT_NO_FATAL_FAILURE(selectMode(bar::Button::Right));
    // Only the click kind changed; the file keeps its CR LF lines.
    EXPECT_EQ(sandbox_.readSettings(), "2\r\n5\r\n0\r\nEnglish.lng\r\n0\r\n0\r\n0\r\n5\r\n");
    EXPECT_EQ(restAt(recorder_.centre(), 2), (std::vector<ButtonEvent>{press(3), release(3)}));
}

TEST_F(DwellClickingTest, DoubleClickButtonGivesTwoPressReleasePairs) {
    ASSERT_NO_FATAL_FAILURE(startParked());
    ASSERT_NO_FATAL_FAILURE(selectMode(bar::Button::Double));
    EXPECT_EQ(restAt(recorder_.centre(), 4),
              (std::vector<ButtonEvent>{press(1), release(1), press(1), release(1)}));
}

TEST_F(DwellClickingTest, DragPressesOnOneRestAndReleasesOnTheNext) {
    ASSERT_NO_FATAL_FAILURE(startParked());
    ASSERT_NO_FATAL_FAILURE(selectMode(bar::Button::Drag));
    const Point from{recorder_.geometry().x + 80, recorder_.centre().y};
    EXPECT_EQ(restAt(from, 1), (std::vector<ButtonEvent>{press(1)}));
    sleepFor(1s);
    EXPECT_EQ(recorder_.events(), (std::vector<ButtonEvent>{press(1)}))
        << "the button came up without a second rest";

    x11_.movePointer(from.x + 120, from.y + 20);
    ASSERT_TRUE(recorder_.waitForEvents(2, 5s)) << "no release after the second rest";
    sleepFor(500ms);
    EXPECT_EQ(recorder_.events(), (std::vector<ButtonEvent>{press(1), release(1)}));
}

TEST_F(DwellClickingTest, BarBackgroundSelectsNoClick) {
    ASSERT_NO_FATAL_FAILURE(startParked());
    ASSERT_TRUE(bar_->moveOnto(bar::kBackground, 5s)) << windows();
    sleepFor(300ms);
    monitor_.clear();
    sleepFor(2s);
    EXPECT_TRUE(monitor_.events().empty()) << "a rest on the bar's background clicked: "
                                           << ::testing::PrintToString(monitor_.events());

    // The choice holds away from the bar too.
    recorder_.clear();
    x11_.movePointer(recorder_.centre());
    sleepFor(2s);
    EXPECT_TRUE(recorder_.events().empty()) << "the target was clicked";
    EXPECT_TRUE(monitor_.events().empty()) << ::testing::PrintToString(monitor_.events());
}

TEST_F(DwellClickingTest, ClickKindIsRestoredAtTheNextStart) {
    ASSERT_NO_FATAL_FAILURE(startParked());
    ASSERT_NO_FATAL_FAILURE(selectMode(bar::Button::Right));
    x11_.movePointer(kElsewhere);
    runs_.back()->terminate();
    ASSERT_TRUE(runs_.back()->waitForExit(10s)) << "the program did not end on SIGTERM";
    EXPECT_EQ(sandbox_.settingsLine(8), "5");

    // The pointer already rests on the target when the program comes up.
    x11_.movePointer(recorder_.centre());
    recorder_.clear();
    start();
    ASSERT_TRUE(recorder_.waitForEvents(2, 10s)) << "no click after the restart";
    sleepFor(500ms);
    EXPECT_EQ(recorder_.events(), (std::vector<ButtonEvent>{press(3), release(3)}));
}

}  // namespace
}  // namespace tz::e2e
