#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace tz {

// The language file name for a path chosen in the language picker: whatever
// follows the last "/Lang/" (exact case), so a file in a sub-folder of the Lang
// folder keeps that sub-folder in front. Nothing when the path holds no
// "/Lang/" or names no file after it.
std::optional<std::string> languageNameFromPath(std::string_view chosenPath);

}  // namespace tz
