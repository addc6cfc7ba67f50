// Any settings the program can hold are written as eight CR LF lines, whatever
// the language name: every number reads back unchanged, and so does every
// storable name (commas, blanks and quotes included); a name no line can hold
// reads back as no name at all, never as a part of itself or of a later line.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>

#include "core/settings/SettingsFile.h"
#include "tests/fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    tz::Settings s;
    for (auto* n : {&s.tolerance, &s.delay, &s.runAtStartup, &s.soundOn, &s.middleButton,
                    &s.rightEdge, &s.startMode}) {
        *n = in.ConsumeIntegral<std::int16_t>();
    }
    s.languageFile = in.ConsumeRemainingBytesAsString();
    const std::string_view name = s.languageFile;
    const std::string bytes = tz::formatSettings(s);
    tz::Settings expected = s;
    expected.languageFile = tz::isStorableLanguageName(name) ? s.languageFile : "";
    TZ_FUZZ_CHECK(tz::parseSettings(bytes) == expected);
    // Every UTF-8 name without a line end or a quote can be stored.
    TZ_FUZZ_CHECK(tz::isStorableLanguageName(name) || !tz::fuzz::wellFormedUtf8(name) ||
                  name.find_first_of("\"\r\n") != std::string_view::npos);
    // Exactly eight lines, each ended by CR LF, and no other line end.
    std::size_t lines = 0;
    for (auto at = bytes.find("\r\n"); at != std::string::npos; at = bytes.find("\r\n", at + 2))
        ++lines;
    TZ_FUZZ_CHECK(lines == 8 && bytes.ends_with("\r\n") &&
                  std::count(bytes.begin(), bytes.end(), '\r') == 8 &&
                  std::count(bytes.begin(), bytes.end(), '\n') == 8);
    return 0;
}
