// An extras file of any bytes: no fault, a countdown size within its range, a
// pause key the file can hold, and what is read is written so that it reads
// back the same.
#include "core/extras/ExtrasSettings.h"
#include "tests/fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const tz::ExtrasSettings extras = tz::parseExtras(tz::fuzz::asText(data, size));
    TZ_FUZZ_CHECK(extras.countdownSize >= tz::kCountdownSizeMin &&
                  extras.countdownSize <= tz::kCountdownSizeMax);
    TZ_FUZZ_CHECK(
        extras.pauseKey.size() <= 32 &&
        extras.pauseKey.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                          "0123456789_") == std::string::npos);
    TZ_FUZZ_CHECK(tz::parseExtras(tz::formatExtras(extras)) == extras);
    return 0;
}
