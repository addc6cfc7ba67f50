#pragma once
// Shared by the fuzz targets: a check that stops the run with a finding, and a
// UTF-8 test written apart from the program's, straight from the table of
// well-formed byte sequences, so that the two can be compared.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#define TZ_FUZZ_CHECK(c) \
    ((c) ? void()        \
         : (std::fprintf(stderr, "check failed: %s at line %d\n", #c, __LINE__), std::abort()))

namespace tz::fuzz {

inline bool wellFormedUtf8(std::string_view s) {
    for (std::size_t i = 0, n = 0; i < s.size(); i += n) {
        const std::uint8_t b = s[i];
        n = b < 0x80 ? 1 : b < 0xC2 ? 0 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : b < 0xF5 ? 4 : 0;
        // The second byte's range depends on the first; later ones are 80..BF.
        const std::uint8_t lo = b == 0xE0 ? 0xA0 : b == 0xF0 ? 0x90 : 0x80;
        const std::uint8_t hi = b == 0xED ? 0x9F : b == 0xF4 ? 0x8F : 0xBF;
        for (std::size_t k = 1; n > 0 && k < n && i + k < s.size(); ++k) {
            const std::uint8_t c = s[i + k];
            n = c >= (k == 1 ? lo : 0x80) && c <= (k == 1 ? hi : 0xBF) ? n : 0;
        }
        if (n == 0 || i + n > s.size()) {
            return false;
        }
    }
    return true;
}

inline std::string_view asText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace tz::fuzz
