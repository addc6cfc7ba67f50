#include "core/about/CreditsScroll.h"

namespace tz {

void CreditsScroll::reset() {
    top_ = kStartTop;
    pause_ = 0;
}

void CreditsScroll::tick() {
    if (viewportHeight_ - panelHeight_ < top_) {
        // The panel's bottom is still below the viewport's bottom.
        top_ -= kStep;
    } else {
        // Resting on the bottom edge; the counter goes on rising while the panel
        // leaves, and is cleared only by the restart below.
        ++pause_;
        if (pause_ > kPauseTicks) {
            top_ -= kStep;
        }
    }
    if (-panelHeight_ > top_) {
        reset();
    }
}

}  // namespace tz
