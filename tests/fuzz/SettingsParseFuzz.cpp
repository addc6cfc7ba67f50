// The settings file as found on disk: any bytes must read without a fault,
// the language name must come out as UTF-8, and what was read must survive
// being written and read again when its name can be written as it is.
#include "core/settings/SettingsFile.h"
#include "tests/fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const tz::Settings read = tz::parseSettings(tz::fuzz::asText(data, size));
    TZ_FUZZ_CHECK(tz::fuzz::wellFormedUtf8(read.languageFile));

    const std::string_view name = read.languageFile;
    const bool plainName = name.find_first_of(",\"\r\n") == std::string_view::npos &&
                           (name.empty() || (name.front() != ' ' && name.front() != '\t'));
    if (plainName) {
        TZ_FUZZ_CHECK(tz::parseSettings(tz::formatSettings(read)) == read);
    }
    return 0;
}
