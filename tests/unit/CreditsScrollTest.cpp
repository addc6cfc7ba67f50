#include "core/about/CreditsScroll.h"

#include <gtest/gtest.h>

namespace tz {
namespace {

// Ticks for as long as each tick raises the panel by one step of 10 twips and
// returns the number of steps. The first tick that does anything else (stays,
// or restarts from below) has run too.
int stepsUp(CreditsScroll& scroll) {
    int steps = 0;
    for (int before = scroll.top(); steps < 10000; before = scroll.top(), ++steps) {
        scroll.tick();
        if (scroll.top() != before - 10) {
            break;
        }
    }
    return steps;
}

void ticks(CreditsScroll& scroll, int count) {
    for (int i = 0; i < count; ++i) {
        scroll.tick();
    }
}

TEST(CreditsScroll, RisesPausesAtTheBottomEdgeLeavesAndRestarts) {
    CreditsScroll scroll;  // viewport 2235, panel 4155
    for (int cycle = 0; cycle < 2; ++cycle) {
        ASSERT_EQ(scroll.top(), 2200);
        // 412 steps until the bottoms meet at 2235 - 4155; the next tick is the
        // first of 120 paused ones.
        EXPECT_EQ(stepsUp(scroll), 412);
        ticks(scroll, 119);
        EXPECT_EQ(scroll.top(), -1920);
        EXPECT_EQ(scroll.pause(), 120);
        // The 121st count moves again: 223 steps to -4150, and the 224th, to
        // -4160, leaves the viewport and restarts from below in the same tick.
        EXPECT_EQ(stepsUp(scroll), 223);
        EXPECT_EQ(scroll.pause(), 0);
    }
}

TEST(CreditsScroll, APanelShorterThanTheViewportAlsoPausesAndLeaves) {
    CreditsScroll scroll(2235, 1000);
    // Rises while its top is above 2235 - 1000: 97 steps, to 1230.
    EXPECT_EQ(stepsUp(scroll), 97);
    ticks(scroll, 119);
    EXPECT_EQ(scroll.top(), 1230);
    // Out at the top once its top is below -1000.
    EXPECT_EQ(stepsUp(scroll), 223);
    EXPECT_EQ(scroll.top(), 2200);
}

}  // namespace
}  // namespace tz
