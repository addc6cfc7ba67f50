#pragma once
#include <algorithm>
#include <string_view>

namespace tz {

// Whether two texts are equal when the letters A to Z count as a to z (file
// names written on a system that ignores case, words in settings files).
inline bool sameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return std::ranges::equal(a, b, {}, lower, lower);
}

}  // namespace tz
