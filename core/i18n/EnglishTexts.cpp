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
};

void setEnglishNewerTexts(TextTable& table) {
    std::copy(kEnglishNewerTexts.begin(), kEnglishNewerTexts.end(),
              table.begin() + kClassicTextCount);
}

}  // namespace tz
