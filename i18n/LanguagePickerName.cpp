#include "i18n/LanguagePickerName.h"

namespace tz {

std::optional<std::string> languageNameFromPath(std::string_view chosenPath) {
    constexpr std::string_view kLangFolder = "/Lang/";
    const auto at = chosenPath.rfind(kLangFolder);
    if (at == std::string_view::npos || at + kLangFolder.size() == chosenPath.size()) {
        return std::nullopt;
    }
    return std::string(chosenPath.substr(at + kLangFolder.size()));
}

}  // namespace tz
