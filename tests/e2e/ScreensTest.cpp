// Screens as people have them, end to end: the program runs on a Xephyr
// nested in a private Xvfb, which can change its size at run time (as RandR
// does) or join two monitors side by side (Xinerama heads).
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "harness/BarDriver.h"
#include "harness/ProgramRun.h"
#include "harness/Sandbox.h"
#include "harness/Wait.h"
#include "harness/X11Client.h"
#include "harness/XvfbServer.h"

namespace tz::e2e {
namespace {

// Left click selected, middle-click button hidden; the last but one line is RightEdge.
std::string settings(bool rightEdge) {
    return std::string("2\r\n5\r\n0\r\nEnglish.lng\r\n0\r\n0\r\n") + (rightEdge ? "1" : "0") +
           "\r\n3\r\n";
}

class ScreensTest : public ::testing::Test {
  protected:
    // Starts Xephyr with these options on the outer display, then the program
    // on Xephyr, and waits until the bar is parked.
    void startOn(std::vector<std::string> xephyrOptions, bool rightEdge) {
        xephyrOptions.insert(xephyrOptions.begin(), "Xephyr");
        xephyrOptions.insert(xephyrOptions.end(), {"-nolisten", "tcp", "-noreset"});
        nested_.emplace(xephyrOptions, outer_.display());
        x11_.emplace(nested_->display());
        sandbox_.writeSettings(settings(rightEdge));
        runs_.push_back(std::make_unique<ProgramRun>(sandbox_, nested_->display()));
        bar_.emplace(*x11_, runs_.back()->pid());
        ASSERT_TRUE(bar_->waitParked(20s)) << "the bar was not shown and then hidden\n"
                                           << x11_->describeTopLevelWindows();
    }

    void TearDown() override { stopRuns(runs_, HasFailure()); }

    // Rests on the right-click button of the shown bar; it is selected once
    // saved as line 8.
    void selectRightClick(const Rect& shownBar) {
        const Point spot = bar::buttonRect(bar::Button::Right).centre();
        x11_->warpPointer(shownBar.x + spot.x, shownBar.y + spot.y);
        EXPECT_TRUE(waitUntil([&] { return sandbox_.settingsLine(8) == "5"; }, 5s))
            << "the right-click button was not selected";
    }

    std::optional<WindowInfo> viewableBar() const {
        auto shown = bar_->find();
        return shown && shown->viewable() ? shown : std::nullopt;
    }

    XvfbServer outer_{{"Xvfb", "-screen", "0", "3000x1100x24", "-nolisten", "tcp", "-noreset"}};
    std::optional<XvfbServer> nested_;
    Sandbox sandbox_{TZ_DIST_DIR};
    std::optional<X11Client> x11_;
    std::vector<std::unique_ptr<ProgramRun>> runs_;
    std::optional<BarDriver> bar_;
};

TEST_F(ScreensTest, AfterTheScreenShrinksTheBarShowsWithinItAndWorks) {
    ASSERT_NO_FATAL_FAILURE(startOn({"-resizeable", "-screen", "1280x1024"}, false));
    X11Client outside(outer_.display());
    const auto xephyr = outside.findWindows([](const WindowInfo& w) { return w.viewable(); });
    ASSERT_EQ(xephyr.size(), 1u) << outside.describeTopLevelWindows();
    outside.resizeWindow(xephyr.front().id, 800, 600);
    ASSERT_TRUE(
        waitUntil([&] { return X11Client(nested_->display()).screen().height == 600; }, 5s, 100ms))
        << "the nested screen kept its size";

    const auto shown = bar_->showAtEdge(300, 5s);
    ASSERT_TRUE(shown) << x11_->describeTopLevelWindows();
    // Centred on the 600 px high screen: (600 - 437) / 2 rounded.
    EXPECT_EQ(shown->geometry, (Rect{0, 82, bar::kWidth, bar::kHeight}));
    selectRightClick(shown->geometry);
}

TEST_F(ScreensTest, TwoMonitorsBarAtTheDesktopsOuterEdgesNeverAtTheSeam) {
    ASSERT_NO_FATAL_FAILURE(
        startOn({"+xinerama", "-screen", "1600x1000", "-screen", "1280x800"}, /*rightEdge=*/true));

    // Across the seam at the height of the drag button of a bar there.
    for (int x : {1560, 1598, 1599, 1600, 1601, 1640}) {
        // A warp makes no device motion: a dwell timer asleep after its click
        // looks at the pointer every two seconds, so give it that long.
        x11_->warpPointer(x, 500);
        sleepFor(2500ms);
        EXPECT_FALSE(viewableBar()) << "the bar showed with the pointer at " << x;
    }
    EXPECT_EQ(sandbox_.settingsLine(8), "3") << "crossing the seam selected a click kind";

    // The desktop's right edge, on the right monitor (800 px high).
    x11_->warpPointer(2879, 400);
    std::optional<WindowInfo> shown;
    ASSERT_TRUE(waitUntil([&] { return (shown = viewableBar()).has_value(); }, 5s))
        << "pointer at " << x11_->pointer() << "\n"
        << x11_->describeTopLevelWindows();
    EXPECT_EQ(shown->geometry, (Rect{2880 - bar::kWidth, 182, bar::kWidth, bar::kHeight}));
    selectRightClick(shown->geometry);

    // The left edge, on the left monitor (1000 px high).
    x11_->warpPointer(0, 100);
    ASSERT_TRUE(waitUntil(
        [&] { return (shown = viewableBar()).has_value() && shown->geometry.x == 0; }, 5s))
        << x11_->describeTopLevelWindows();
    EXPECT_EQ(shown->geometry, (Rect{0, 282, bar::kWidth, bar::kHeight}));
}

}  // namespace
}  // namespace tz::e2e
