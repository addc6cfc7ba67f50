#include "platform/posix/EnvLocale.h"

#include <cstdlib>
#include <utility>

namespace tz {

namespace {

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char toUpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

EnvLocale::EnvLocale() : EnvLocale(environmentValue) {}

EnvLocale::EnvLocale(Lookup lookup) : lookup_(std::move(lookup)) {}

std::string EnvLocale::countryCode() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const std::string value = lookup_(name);
        if (!value.empty()) {
            return countryOfLocaleName(value);
        }
    }
    return "";
}

std::string countryOfLocaleName(std::string_view name) {
    // Language: letters up to '_'; territory: up to '.', '@' or the end.
    const std::size_t underscore = name.find('_');
    if (underscore == std::string_view::npos || underscore == 0) {
        return "";
    }
    for (std::size_t i = 0; i < underscore; ++i) {
        if (!isAsciiLetter(name[i])) {
            return "";
        }
    }
    const std::string_view rest = name.substr(underscore + 1);
    const std::string_view territory = rest.substr(0, rest.find_first_of(".@"));
    if (territory.size() != 2 || !isAsciiLetter(territory[0]) || !isAsciiLetter(territory[1])) {
        return "";
    }
    return {toUpperAscii(territory[0]), toUpperAscii(territory[1])};
}

}  // namespace tz
