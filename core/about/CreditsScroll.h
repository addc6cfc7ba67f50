#pragma once
#include <cstdint>

namespace tz {

// The about window's credits: a panel that rises through a viewport in steps
// of 10 twips, stops for 120 ticks when its bottom meets the viewport's bottom,
// rises on until it has left at the top, and starts again from below.
// All lengths are in twips.
class CreditsScroll {
  public:
    static constexpr int kStartTop = 2200;
    static constexpr int kStep = 10;
    static constexpr std::int16_t kPauseTicks = 120;

    explicit CreditsScroll(int viewportHeight = 2235, int panelHeight = 4155)
        : viewportHeight_(viewportHeight), panelHeight_(panelHeight) {}

    // Panel back at its start position, pause not yet begun.
    void reset();
    // One timer tick.
    void tick();

    int top() const { return top_; }
    std::int16_t pause() const { return pause_; }

  private:
    int viewportHeight_;
    int panelHeight_;
    int top_ = kStartTop;
    std::int16_t pause_ = 0;
};

}  // namespace tz
