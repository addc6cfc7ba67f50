// Text from disk or network becomes UTF-8: always well-formed, unchanged when
// it already was, one character per byte otherwise; and the program's own
// UTF-8 test agrees with an independent one.
#include <algorithm>

#include "core/i18n/TextCodePage.h"
#include "tests/fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = tz::fuzz::asText(data, size);
    const bool valid = tz::fuzz::wellFormedUtf8(bytes);
    TZ_FUZZ_CHECK(tz::isValidUtf8(bytes) == valid);
    const std::string text = tz::decodeLocalText(bytes);
    TZ_FUZZ_CHECK(tz::fuzz::wellFormedUtf8(text));
    const auto characters =
        std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; });
    TZ_FUZZ_CHECK(valid ? text == bytes : std::size_t(characters) == size);
    return 0;
}
