#pragma once
// Shared by the fuzz targets: a check that stops the run with a finding, and
// a UTF-8 test written independently of the program's own, straight from the
// table of well-formed byte sequences, so the two can be compared.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#define TZ_FUZZ_CHECK(condition)                                                                 \
    do {                                                                                         \
        if (!(condition)) {                                                                      \
            std::fprintf(stderr, "check failed: %s at %s:%d\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                                        \
        }                                                                                        \
    } while (false)

namespace tz::fuzz {

inline bool wellFormedUtf8(std::string_view s) {
    const auto at = [&s](std::size_t i) { return static_cast<std::uint8_t>(s[i]); };
    std::size_t i = 0;
    while (i < s.size()) {
        const std::uint8_t b = at(i);
        // Second byte's range by lead byte; later bytes are always 80..BF.
        std::uint8_t lo = 0x80, hi = 0xBF;
        std::size_t length = 0;
        if (b <= 0x7F) {
            length = 1;
        } else if (b >= 0xC2 && b <= 0xDF) {
            length = 2;
        } else if (b == 0xE0) {
            length = 3, lo = 0xA0;
        } else if ((b >= 0xE1 && b <= 0xEC) || b == 0xEE || b == 0xEF) {
            length = 3;
        } else if (b == 0xED) {
            length = 3, hi = 0x9F;
        } else if (b == 0xF0) {
            length = 4, lo = 0x90;
        } else if (b >= 0xF1 && b <= 0xF3) {
            length = 4;
        } else if (b == 0xF4) {
            length = 4, hi = 0x8F;
        } else {
            return false;
        }
        if (i + length > s.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const std::uint8_t c = at(i + k);
            if (k == 1 ? (c < lo || c > hi) : (c < 0x80 || c > 0xBF)) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

// Characters of a well-formed UTF-8 string.
inline std::size_t codePoints(std::string_view utf8) {
    std::size_t count = 0;
    for (const char c : utf8) {
        count += (static_cast<std::uint8_t>(c) & 0xC0) != 0x80;
    }
    return count;
}

inline std::string_view asText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace tz::fuzz
