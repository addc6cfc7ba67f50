#pragma once
#include <cstdint>
#include <string>

namespace tz {

// The eight persisted values, in the order of the settings file.
// A flag is on only when it equals 1.
struct Settings {
    std::int16_t tolerance = 0;     // pixels
    std::int16_t delay = 0;         // ticks of 100 ms
    std::int16_t runAtStartup = 0;  // start at logon
    std::string languageFile;       // file name in the Lang folder, UTF-8
    std::int16_t soundOn = 0;
    std::int16_t middleButton = 0;
    std::int16_t rightEdge = 0;
    std::int16_t startMode = 0;  // click mode restored at start-up

    bool operator==(const Settings&) const = default;
};

}  // namespace tz
