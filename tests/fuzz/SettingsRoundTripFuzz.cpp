// Any settings the program can hold are written as eight CR LF lines and read
// back unchanged, for every language name without a comma, a quote or a line
// end. A name's leading blanks are not kept: the reader skips blanks before a
// field, and no language file name starts with one.
#include <fuzzer/FuzzedDataProvider.h>

#include "settings/SettingsFile.h"
#include "tests/fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    tz::Settings s;
    s.Tolerance = in.ConsumeIntegral<std::int16_t>();
    s.Delay = in.ConsumeIntegral<std::int16_t>();
    s.RunAtStartup = in.ConsumeIntegral<std::int16_t>();
    s.SoundOn = in.ConsumeIntegral<std::int16_t>();
    s.MiddleButton = in.ConsumeIntegral<std::int16_t>();
    s.RightEdge = in.ConsumeIntegral<std::int16_t>();
    s.StartMode = in.ConsumeIntegral<std::int16_t>();
    s.LanguageFile = in.ConsumeRemainingBytesAsString();

    const std::string_view name = s.LanguageFile;
    if (!tz::fuzz::wellFormedUtf8(name) || name.find_first_of(",\"\r\n") != std::string::npos ||
        (!name.empty() && (name.front() == ' ' || name.front() == '\t'))) {
        return -1;  // not a name the program writes; keep it out of the corpus
    }
    const std::string bytes = tz::formatSettings(s, s.StartMode);
    TZ_FUZZ_CHECK(tz::parseSettings(bytes) == s);
    // Exactly eight lines, each ended by CR LF.
    std::size_t lines = 0;
    for (std::size_t at = bytes.find("\r\n"); at != std::string::npos;
         at = bytes.find("\r\n", at + 2)) {
        ++lines;
    }
    TZ_FUZZ_CHECK(lines == 8 && bytes.ends_with("\r\n"));
    return 0;
}
