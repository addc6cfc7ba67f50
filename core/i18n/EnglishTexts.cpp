#include "core/i18n/EnglishTexts.h"

#include <algorithm>

namespace tz {

const std::array<std::string_view, kTextTableSize - kClassicTextCount> kEnglishNewerTexts = {
    "Pause clicking",
    "Resume clicking",
    "Clicking paused",
    "More options...",
    "More options",
    "Show a countdown at the pointer",
    "Countdown size",
    "Show an icon in the system tray",
    "Pause key",
    "A button pressed by hand cancels the waiting click",
    "No key",
    "Scroll",
    "Show a scroll button on the bar",
    "Find my settings...",
    "Find my settings",
    "Move to the circle and hold the pointer as still as you can until the next one appears.",
    "Too few steady samples were taken, so nothing is suggested; your settings stay as they were.",
    "Apply",
    "A larger tolerance lets the small shake of your hand count as resting.",
    "A smaller tolerance ends the count towards a click at a smaller movement.",
    "A longer delay keeps the pauses you make on the way from clicking.",
    "A shorter delay clicks sooner when you rest.",
    "No change.",
    "not available in this session",
};

void setEnglishNewerTexts(TextTable& table) {
    std::copy(kEnglishNewerTexts.begin(), kEnglishNewerTexts.end(),
              table.begin() + kClassicTextCount);
}

}  // namespace tz
