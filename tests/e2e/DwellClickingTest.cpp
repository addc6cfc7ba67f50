// Dwell clicking end to end: the built program runs on a private Xvfb with its
// own copy of the program folder; the test moves the pointer through XTest and
// watches a target window for the clicks the program injects.
#include "ProgramFixture.h"

namespace tz::e2e {
namespace {

using Events = std::vector<ButtonEvent>;

class DwellClickingTest : public ProgramFixture {};

TEST_F(DwellClickingTest, BarParksHiddenAfterStartAndAppearsWhenThePointerTouchesTheLeftEdge) {
    ASSERT_NO_FATAL_FAILURE(startParked());
    sleepFor(500ms);
    EXPECT_FALSE(bar_->find()->viewable()) << "the bar came back without the pointer at the edge";

    // Any height at the edge calls it, here above the bar itself.
    const auto shown = bar_->showAtEdge(100, 5s);
    ASSERT_TRUE(shown) << windows();
    EXPECT_EQ(shown->geometry, (Rect{0, bar::kTop, bar::kWidth, bar::kHeight}));
    sleepFor(300ms);
    EXPECT_TRUE(bar_->find()->viewable()) << "the bar went away with the pointer still at the edge";

    x11_.movePointer(kElsewhere);
    EXPECT_TRUE(waitUntil([&] { return !bar_->find()->viewable(); }, 5s))
        << "the bar stayed with the pointer far from it\n"
        << windows();
}

// Each click kind picked on the bar (and saved), then two rests on the target:
// a continued rest clicks no more, a drag presses on one rest and releases on the next.
TEST_F(DwellClickingTest, EveryClickKindGivesItsButtonEvents) {
    struct Kind {
        bar::Button button;
        Events first, second;
    };
    const Kind kinds[] = {
        {bar::Button::Left, {press(1), release(1)}, {press(1), release(1)}},
        {bar::Button::Right, {press(3), release(3)}, {press(3), release(3)}},
        {bar::Button::Double,
         {press(1), release(1), press(1), release(1)},
         {press(1), release(1), press(1), release(1)}},
        {bar::Button::Drag, {press(1)}, {release(1)}},
        {bar::Button::NoClick, {}, {}},
    };
    ASSERT_NO_FATAL_FAILURE(startParked());
    const Point centre = recorder_.centre();
    for (const Kind& kind : kinds) {
        SCOPED_TRACE("click kind " + std::to_string(static_cast<int>(kind.button)));
        ASSERT_NO_FATAL_FAILURE(choose(kind.button));
        EXPECT_EQ(restAt({centre.x - 60, centre.y}, kind.first.size()), kind.first);
        sleepFor(1s);
        EXPECT_EQ(recorder_.events(), kind.first) << "a continued rest clicked";
        EXPECT_EQ(restAt({centre.x + 60, centre.y + 20}, kind.second.size()), kind.second);
    }
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

TEST_F(DwellClickingTest, ClickKindIsRestoredAtTheNextStart) {
    ASSERT_NO_FATAL_FAILURE(startParked());
    ASSERT_NO_FATAL_FAILURE(choose(bar::Button::Right));
    x11_.movePointer(kElsewhere);
    run().terminate();
    ASSERT_TRUE(run().waitForExit(10s)) << "the program did not end on SIGTERM";

    // The pointer already rests on the target when the program comes up.
    x11_.movePointer(recorder_.centre());
    recorder_.clear();
    start();
    ASSERT_TRUE(recorder_.waitForEvents(2, 10s)) << "no click after the restart";
    sleepFor(500ms);
    EXPECT_EQ(recorder_.events(), (Events{press(3), release(3)}));
}

}  // namespace
}  // namespace tz::e2e
