// "Find my settings": the tolerance and delay suggested from the pointer the user moved, tick by
// tick.
#include <gtest/gtest.h>

#include <functional>

#include "core/calibration/SettingsFinder.h"
#include "tests/unit/TestDirectory.h"

namespace tz {
namespace {

// A session, tick by tick: holds at targets and the ways between them.
struct Session {
    std::vector<FinderSample> samples;
    PointerPosition at{500, 400};

    void add(FinderPhase phase) { samples.push_back({at, phase}); }
    // `ticks` held ticks around here, the offsets from it taken in turn.
    Session& hold(int ticks, const std::vector<int>& offsets = {0}) {
        const PointerPosition centre = at;
        for (int i = 0; i < ticks; ++i) {
            const int offset = offsets[static_cast<std::size_t>(i) % offsets.size()];
            at = {centre.x + offset, centre.y - offset};
            add(FinderPhase::Hold);
        }
        at = centre;
        return *this;
    }
    // `ticks` travel ticks, each moving `step` pixels right and `down` down.
    Session& travel(int ticks, int step = 40, int down = 0) {
        for (int i = 0; i < ticks; ++i) {
            at.x += step;
            at.y += down;
            add(FinderPhase::Travel);
        }
        return *this;
    }
    Session& away(int ticks) {
        for (int i = 0; i < ticks; ++i) add(FinderPhase::Away);
        return *this;
    }
    // Five targets and the four ways between them, each with `way` between.
    Session& round(const std::vector<int>& offsets, const std::function<void(Session&)>& way) {
        hold(30, offsets);
        for (int target = 1; target < 5; ++target) way(*this), hold(30, offsets);
        return *this;
    }
    std::optional<FoundSettings> found() const { return findSettings(samples); }
};

void expectFound(const Session& session, int tolerance, int delay, const char* what) {
    const auto found = session.found();
    ASSERT_TRUE(found.has_value()) << what;
    EXPECT_EQ(found->tolerance, tolerance) << what;
    EXPECT_EQ(found->delay, delay) << what;
}

TEST(SettingsFinder, SuggestsFromHoldsAndPausesOnTheWay) {
    // A steady hand travelling briskly: no tolerance and the shortest delay.
    expectFound(Session().round({0, 1, 0, -1}, [](Session& s) { s.travel(6); }), 0, 2,
                "steady hand");
    // A strong tremor: steps of 8 pixels a third of the time need 8 < tolerance + 2; pauses of
    // seven ticks on the way need a delay of 8 not to click, plus one.
    expectFound(Session().round({0, 4, -4, 4, 0, -4},
                                [](Session& s) { s.travel(3).travel(7, 0).travel(3); }),
                7, 9, "strong tremor");
    // A slow traveller: 1-pixel steps rest under tolerance 0, a pause of 15 ticks; one of 30 ticks
    // makes the longest delay.
    expectFound(Session().round({0}, [](Session& s) { s.travel(15, 1).travel(2); }), 0, 17,
                "slow traveller");
    expectFound(Session().round({0}, [](Session& s) { s.travel(30, 1).travel(2); }), 0, 20,
                "slower traveller");
}

TEST(SettingsFinder, ToleranceCoversNinetyFivePercentOfHeldSteps) {
    // A shake of 3 pixels and back once in 20 ticks: 10% of the steps.
    std::vector<int> shake(20, 0);
    shake[10] = 3;
    expectFound(Session().hold(201, shake), 2, 2, "10% larger steps need a larger tolerance");
    // A drift of 3 pixels once in 20 steps: exactly 5% may be left out.
    Session drift;
    for (int i = 0; i < 10; ++i) drift.hold(20).at.x += 3;
    expectFound(drift.hold(1), 0, 2, "5% larger steps are left out");
    drift.at.x += 3;
    expectFound(drift.hold(1), 2, 2, "over 5% larger steps");
    // Tremor beyond the largest tolerance: never held still.
    EXPECT_FALSE(Session().round({0, 12}, [](Session& s) { s.travel(5); }).found());
    EXPECT_TRUE(Session().round({0, 11}, [](Session& s) { s.travel(5); }).found());
}

TEST(SettingsFinder, NothingFromTooFewHeldSteps) {
    // Fifty steps need 51 held ticks in a row; broken holds count their own steps.
    const auto found = [](const Session& s) { return s.found().has_value(); };
    EXPECT_EQ(test::each(found, {Session(), Session().travel(300), Session().hold(50),
                                 Session().hold(51), Session().hold(26).travel(3).hold(25),
                                 Session().hold(26).travel(3).hold(26),
                                 Session().travel(1).hold(50), Session().hold(50).travel(1)}),
              (std::vector<bool>{false, false, false, true, false, true, false, false}));
}

TEST(SettingsFinder, PausesCountOnlyOnTheWayBetweenTargets) {
    // Before the first target, and on the target just left, are not on the way; a tick there ends
    // the pause before it.
    expectFound(Session().travel(9, 0).hold(60).travel(1).travel(4, 0).away(1).travel(4, 0), 0, 6,
                "pauses");
    expectFound(Session().hold(1).travel(5, 0).travel(1).hold(60), 0, 7, "from the first tick on");
    expectFound(Session().hold(60).travel(2, 0, 2).travel(2, 0, 3).travel(2, 0, 1), 0, 4,
                "down alone is a move too");
    expectFound(Session().hold(60).travel(1).travel(4, 0).travel(1).travel(3, 0), 0, 6,
                "a move ends a pause");
    // Under the tolerance the holds gave: 3-pixel steps rest under tolerance 2.
    expectFound(Session().hold(60, {0, 3}).travel(1).travel(6, 3).travel(1), 2, 8, "slow steps");
}

}  // namespace
}  // namespace tz
