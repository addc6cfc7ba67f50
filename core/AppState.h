#pragma once
#include <cstdint>
#include <string>

#include "core/i18n/TextTable.h"
#include "core/settings/Settings.h"

namespace tz {

// Click modes: the index of the bar button whose kind of action is in force.
namespace mode {
inline constexpr std::int16_t Exit = 0;
inline constexpr std::int16_t NoClick = 1;
inline constexpr std::int16_t DoubleClick = 2;
inline constexpr std::int16_t LeftClick = 3;
inline constexpr std::int16_t Drag = 4;
inline constexpr std::int16_t RightClick = 5;
inline constexpr std::int16_t MiddleClick = 6;
inline constexpr std::int16_t Options = 7;
inline constexpr std::int16_t Help = 8;
}  // namespace mode

// The state the whole running program shares. One instance, owned by the
// application object and handed to every window and to the engine by reference.
struct AppState {
    Settings settings;
    std::int16_t ClickMode = 0;
    // The dwell engine's two tick counters; bar commands and the options
    // window's OK and Cancel clear them.
    std::int16_t ClickDwellTicks = 0;
    std::int16_t BarDwellTicks = 0;
    TextTable texts;
    std::string ProductTitle;
    // Where the settings file is read and written.
    std::string settingsPath;
};

}  // namespace tz
