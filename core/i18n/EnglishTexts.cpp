#include "core/i18n/EnglishTexts.h"

namespace tz {

const std::array<std::string_view, kTextTableSize - kClassicTextCount> kEnglishNewerTexts = {
    "Pause clicking",  "Resume clicking",
    "Clicking paused", "More options...",
    "More options",    "Show a countdown at the pointer",
    "Countdown size",  "Show an icon in the system tray",
    "Pause key",       "A button pressed by hand cancels the waiting click",
    "No key",
};

}  // namespace tz
