#pragma once
#include "bar/SecondaryWindows.h"

namespace tz {

// Stands in while the program has no options or exit window: nothing is
// visible and showing does nothing.
class NoSecondaryWindows : public SecondaryWindows {
public:
    bool isOptionsWindowVisible() override { return false; }
    bool isExitWindowVisible() override { return false; }
    void showOptionsWindow() override {}
    void showExitWindow() override {}
};

}  // namespace tz
