#pragma once
#include <cstdint>
#include <string>

#include "core/extras/ExtrasSettings.h"
#include "core/i18n/TextTable.h"
#include "core/settings/Settings.h"

namespace tz {

// The click mode: the bar button whose kind of action is in force, by its
// index from the top. The settings file stores it as that number, and a
// number from the file that names no button is kept as it is.
enum class ClickMode : std::int16_t {
    Exit = 0,
    Pause = 1,  // no click
    DoubleClick = 2,
    LeftClick = 3,
    Drag = 4,
    RightClick = 5,
    MiddleClick = 6,
    Options = 7,
    Help = 8,
    Scroll = 9,  // a rest places the scroll pad; shown on the bar only when turned on
};

// The modes whose rest makes a click: double, left, drag, right and middle.
constexpr bool isClickingKind(ClickMode mode) {
    return mode >= ClickMode::DoubleClick && mode <= ClickMode::MiddleClick;
}

// The kinds a rest acts in away from the bar, which the user chooses: the
// five clicking kinds and scrolling.
constexpr bool isRestingKind(ClickMode mode) {
    return isClickingKind(mode) || mode == ClickMode::Scroll;
}

// The state the whole running program shares. One instance, owned by the
// application object and handed to every window and to the engine by reference.
struct AppState {
    Settings settings;
    ClickMode clickMode = ClickMode::Exit;
    // The click kind the user chose (on the bar, in the tray, with the pause
    // key): one of the resting kinds, and whether clicking is paused.
    // The exit, options and help buttons and the left click that the options
    // and exit windows force pass over it; closing those windows gives it
    // back, and resuming after a pause brings back its kind.
    ClickMode chosenKind = ClickMode::LeftClick;
    bool chosenPause = false;
    ClickMode chosenMode() const { return chosenPause ? ClickMode::Pause : chosenKind; }
    TextTable texts;
    std::string productTitle;
    // Where the settings file is read and written.
    std::string settingsPath;
    // The countdown, tray, pause key and hand-press preferences, and their file.
    ExtrasSettings extras;
    std::string extrasPath;
};

}  // namespace tz
