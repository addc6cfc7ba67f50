#include "core/i18n/LanguagePickerName.h"

namespace tz {

std::optional<std::string> languageNameFromPath(std::string_view chosenPath) {
    constexpr std::string_view kLangFolder = "/Lang/";
    const auto at = chosenPath.rfind(kLangFolder);
    if (at == std::string_view::npos || at + kLangFolder.size() == chosenPath.size()) {
        return std::nullopt;
    }
    const std::string_view name = chosenPath.substr(at + kLangFolder.size());
    // A comma, quote or line end would break the settings file's lines; a
    // file in a sub-folder could never be loaded by its name.
    if (name.find_first_of(",\"\r\n/") != std::string_view::npos) {
        return std::nullopt;
    }
    return std::string(name);
}

}  // namespace tz
