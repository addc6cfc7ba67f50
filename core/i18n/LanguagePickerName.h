#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace tz {

// The language file name for a path chosen in the language picker: whatever
// follows the last "/Lang/" (exact case). Nothing when the path holds no
// "/Lang/" or names no file after it, and nothing for a name the program
// refuses: one holding a comma, a double quote, CR or LF (the settings file
// could not keep it), or a "/" (a file in a sub-folder of the Lang folder).
std::optional<std::string> languageNameFromPath(std::string_view chosenPath);

}  // namespace tz
