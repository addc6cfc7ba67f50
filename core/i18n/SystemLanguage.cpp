#include "core/i18n/SystemLanguage.h"

#include <array>
#include <utility>

namespace tz {

namespace {

// Brazil and Portugal share the Brazilian file.
constexpr std::array<std::pair<std::string_view, std::string_view>, 8> kLanguageOfCountry = {{
    {"br", "Brazilian"},
    {"de", "Deutsch"},
    {"it", "Italiano"},
    {"es", "Spanish"},
    {"fr", "French"},
    {"pl", "Polish"},
    {"pt", "Brazilian"},
    {"ro", "Romanian"},
}};

char toLowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::string languageNameForCountry(std::string_view code) {
    std::string key;
    for (std::size_t i = 0; i < code.size() && i < 2; ++i) {
        key += toLowerAscii(code[i]);
    }
    for (const auto& [country, language] : kLanguageOfCountry) {
        if (key == country) {
            return std::string(language);
        }
    }
    return "English";
}

std::string chooseLanguageFile(Locale& locale) {
    return languageNameForCountry(locale.countryCode()) + ".lng";
}

bool needsSystemLanguage(const std::string& languageFile) {
    return languageFile.find_first_not_of(" \t") == std::string::npos;
}

}  // namespace tz
