#include "core/HelpPage.h"

#include <algorithm>

namespace tz {

std::string helpPageName(const std::string& languageFile) {
    std::string lower = languageFile;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    if (lower == "italiano.lng") {
        return "/help-it.html";
    }
    if (lower == "greek.lng") {
        return "/help-el.html";
    }
    return "/help-en.html";
}

}  // namespace tz
