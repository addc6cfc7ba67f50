#pragma once
#include <array>
#include <string>
#include <string_view>

#include "core/settings/AtomicFile.h"

namespace tz {

// Preferences of the pointer countdown, the tray icon, the pause key, the
// press that cancels a waiting click and the scroll button. They live in a small INI file of their
// own beside the settings file, whose eight lines keep their format.
struct ExtrasSettings {
    bool countdownOn = true;
    // The countdown ring's diameter in pixels (before the desktop's scaling).
    int countdownSize = 32;
    bool trayOn = true;
    // An X key name such as "Pause" or "F12"; empty: no pause key.
    std::string pauseKey = "Pause";
    // A mouse button pressed by hand cancels the click the current rest waits for.
    bool cancelOnPress = true;
    // The bar shows the scroll kind's button (and the tray menu its item).
    bool scrollButton = false;

    bool operator==(const ExtrasSettings&) const = default;
};

inline constexpr const char* kExtrasFileName = "Tindro Zevad extras.ini";
inline constexpr int kCountdownSizeMin = 16;
inline constexpr int kCountdownSizeMax = 64;
// The keys the "More options" window offers for pausing, "" meaning none.
inline constexpr std::array<std::string_view, 5> kPauseKeyChoices = {"Pause", "Scroll_Lock", "F12",
                                                                     "F11", ""};

// Reads the INI text. Each missing, unknown or damaged value keeps its
// default; the others are taken.
ExtrasSettings parseExtras(std::string_view text);
std::string formatExtras(const ExtrasSettings& extras);

// The extras file in the folder of the settings file at `settingsPath`.
std::string extrasPathBeside(const std::string& settingsPath);
// A missing or unreadable file gives the defaults.
ExtrasSettings readExtrasFile(const std::string& path);
// Saved as the settings file is (saveFileIfChanged).
bool writeExtrasFile(const std::string& path, const ExtrasSettings& extras,
                     FileOps& ops = systemFileOps());

}  // namespace tz
