#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/settings/AtomicFile.h"
#include "core/settings/Settings.h"

namespace tz {

inline constexpr const char* kSettingsFileName = "Tindro Zevad.ini";

// Reads the eight fields from the file's bytes. Fields the bytes lack keep
// their initial value (0, or an empty name); a number that is not a whole
// number within -32768..32767 reads as 0.
Settings parseSettings(std::string_view bytes);

// Whether line 4 can hold this language file name so that parseSettings reads
// it back unchanged: UTF-8 without CR or LF, and no double quote when the
// name has to be quoted (it holds a comma or starts with a blank or a quote).
bool isStorableLanguageName(std::string_view name);

// The eight CR LF lines, in the order of Settings' fields. Line 4
// is the language file name as it is; a storable name that the reader would
// otherwise split or trim is written in double quotes, and a name that is not
// storable leaves line 4 empty.
std::string formatSettings(const Settings& settings);

// Reads the settings file; a missing or unreadable file gives the initial values.
Settings readSettingsFile(const std::string& path);

// The one way the settings are saved: saveFileIfChanged (atomic, unchanged bytes
// not written again, a missing folder made private). False when it failed.
bool writeSettingsFile(const std::string& path, const Settings& settings,
                       FileOps& ops = systemFileOps());

}  // namespace tz
