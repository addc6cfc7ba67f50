#include "core/calibration/SettingsFinder.h"

#include <algorithm>
#include <cstdlib>

namespace tz {

namespace {

constexpr int kMaxTolerance = 10;
constexpr int kMaxDelay = 20;

// As the engine decides it: a move of tolerance + 2 pixels on either axis.
bool rests(const PointerPosition& from, const PointerPosition& to, int tolerance) {
    const int margin = tolerance + 2;
    return std::abs(to.x - from.x) < margin && std::abs(to.y - from.y) < margin;
}

}  // namespace

std::optional<FoundSettings> findSettings(const std::vector<FinderSample>& samples) {
    std::vector<std::pair<PointerPosition, PointerPosition>> holdSteps;
    for (std::size_t i = 1; i < samples.size(); ++i) {
        if (samples[i - 1].phase == FinderPhase::Hold && samples[i].phase == FinderPhase::Hold) {
            holdSteps.emplace_back(samples[i - 1].at, samples[i].at);
        }
    }
    if (holdSteps.size() < static_cast<std::size_t>(kFinderMinHoldSteps)) {
        return std::nullopt;
    }
    std::optional<int> tolerance;
    for (int candidate = 0; candidate <= kMaxTolerance && !tolerance; ++candidate) {
        const auto resting = std::count_if(
            holdSteps.begin(), holdSteps.end(),
            [candidate](const auto& step) { return rests(step.first, step.second, candidate); });
        // At least 95%, in whole numbers.
        if (resting * 100 >= static_cast<std::ptrdiff_t>(holdSteps.size()) * 95) {
            tolerance = candidate;
        }
    }
    if (!tolerance) {
        return std::nullopt;
    }
    // Travel before the first hold is the way to the first target, where the
    // user may still be reading: it is not measured.
    int longestPause = 0;
    int pause = 0;
    bool held = false;
    for (std::size_t i = 1; i < samples.size(); ++i) {
        held = held || samples[i - 1].phase == FinderPhase::Hold;
        if (!held || samples[i].phase != FinderPhase::Travel) {
            pause = 0;
        } else if (rests(samples[i - 1].at, samples[i].at, *tolerance)) {
            longestPause = std::max(longestPause, ++pause);
        } else {
            pause = 0;
        }
    }
    // At least 2, the shortest delay there is.
    return FoundSettings{*tolerance, std::min(longestPause + 2, kMaxDelay)};
}

}  // namespace tz
