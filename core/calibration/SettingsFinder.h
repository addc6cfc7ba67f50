#pragma once
#include <optional>
#include <vector>

#include "platform/Pointer.h"

namespace tz {

// What the user was doing at one dwell tick of "Find my settings".
enum class FinderPhase {
    Hold,    // on the target in force, holding as still as they can
    Travel,  // on the way to the next target
    Away,    // neither (on the target just finished): counted for nothing
};

// The pointer at one dwell tick (100 ms), in screen pixels.
struct FinderSample {
    PointerPosition at;
    FinderPhase phase = FinderPhase::Away;
};

struct FoundSettings {
    int tolerance = 0;  // pixels, 0 to 10
    int delay = 0;      // ticks, 2 to 20
};

// Fewer steps from one held tick to the next than this (five seconds of
// holding in all) say too little about the hand to suggest anything.
inline constexpr int kFinderMinHoldSteps = 50;

// The settings that suit the pointer the user moved, from the ticks in the
// order they came. The engine counts a tick as resting when on each axis the
// pointer moved less than tolerance + 2 pixels since the last tick, and
// clicks once the resting ticks in a row reach the delay.
// - Tolerance: the smallest (0 to 10) under which at least 95% of the steps
//   between two held ticks count as resting.
// - Delay: a pause on the way is a run of resting ticks among the travel
//   ticks, under that tolerance. The longest run, plus one, is the shortest
//   delay that no pause would have reached; one tick more is the margin, so
//   the delay is the longest pause + 2 (2 to 20).
// Nothing when too few held steps were taken, or the hand never held still
// enough for even the largest tolerance.
std::optional<FoundSettings> findSettings(const std::vector<FinderSample>& samples);

}  // namespace tz
