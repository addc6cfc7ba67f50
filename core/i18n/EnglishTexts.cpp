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
    "Tindro Zevad works in X11 sessions and in KDE Plasma's Wayland session (KWin). This Wayland "
    "session's compositor is not KWin, and there the program can neither see the pointer nor "
    "click; log in to an X11 session or to Plasma's Wayland session.",
    "Tindro Zevad needs Xwayland in KDE Plasma's Wayland session for its windows, and no X11 "
    "display could be opened (is DISPLAY set?).",
    "Tindro Zevad needs an X11 display, and none could be opened (is DISPLAY set?).",
    "Tindro Zevad needs the X server's XTest extension to click.",
    "--platform=kwin: KWin is not on the session bus.",
    "Tindro Zevad cannot follow the pointer in KWin's session: %1.",
    "KWin does not let Tindro Zevad click. KWin lets a program click when an installed .desktop "
    "file names it in its Exec line and has the line "
    "X-KDE-Wayland-Interfaces=org_kde_kwin_fake_input. Tindro Zevad could not write such a file "
    "for %1 to ~/.local/share/applications, or KWin did not take it. Install the program's "
    "package, or write that file and run kbuildsycoca6 (in Plasma 5: kbuildsycoca5), then start "
    "Tindro Zevad again.",
    "not available in this session",
};

void setEnglishNewerTexts(TextTable& table) {
    std::copy(kEnglishNewerTexts.begin(), kEnglishNewerTexts.end(),
              table.begin() + kClassicTextCount);
}

}  // namespace tz
