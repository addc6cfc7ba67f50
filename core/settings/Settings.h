#pragma once
#include <cstdint>
#include <string>

namespace tz {

// The eight persisted values, in the order of the settings file.
// A flag is on only when it equals 1.
struct Settings {
    std::int16_t Tolerance = 0;     // pixels
    std::int16_t Delay = 0;         // ticks of 100 ms
    std::int16_t RunAtStartup = 0;  // start at logon
    std::string LanguageFile;       // file name in the Lang folder, UTF-8
    std::int16_t SoundOn = 0;
    std::int16_t MiddleButton = 0;
    std::int16_t RightEdge = 0;
    std::int16_t StartMode = 0;  // click mode restored at start-up

    bool operator==(const Settings&) const = default;
};

}  // namespace tz
