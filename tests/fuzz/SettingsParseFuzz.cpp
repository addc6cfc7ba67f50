// The settings file and the extras file beside it, as found on disk: any bytes
// read without a fault as either. A settings file's language name comes out as
// UTF-8; the extras give a countdown size in its range and a pause key the file
// can hold. What was read survives being written and read again (a language
// name when it can be written as it is).
#include "core/extras/ExtrasSettings.h"
#include "core/settings/SettingsFile.h"
#include "tests/fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = tz::fuzz::asText(data, size);
    const tz::Settings read = tz::parseSettings(bytes);
    TZ_FUZZ_CHECK(tz::fuzz::wellFormedUtf8(read.languageFile));
    const std::string_view name = read.languageFile;
    const bool plainName = name.find_first_of(",\"\r\n") == std::string_view::npos &&
                           (name.empty() || (name.front() != ' ' && name.front() != '\t'));
    TZ_FUZZ_CHECK(!plainName || tz::parseSettings(tz::formatSettings(read)) == read);

    const tz::ExtrasSettings extras = tz::parseExtras(bytes);
    TZ_FUZZ_CHECK(extras.countdownSize >= tz::kCountdownSizeMin &&
                  extras.countdownSize <= tz::kCountdownSizeMax);
    TZ_FUZZ_CHECK(extras.pauseKey.size() <= 32 &&
                  extras.pauseKey.find_first_not_of("abcdefghijklmnopqrstuvwxyz"
                                                    "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_") ==
                      std::string::npos);
    TZ_FUZZ_CHECK(tz::parseExtras(tz::formatExtras(extras)) == extras);
    return 0;
}
