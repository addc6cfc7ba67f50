// The version file from the network: any answer is judged without a fault;
// news needs exactly nine characters, and for nine plain digits it is the
// digit-by-digit comparison with the local code. The update message's line
// breaks are expanded for any text.
#include <fuzzer/FuzzedDataProvider.h>

#include "core/update/UpdateCheck.h"
#include "tests/fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string local = in.ConsumeBool() ? in.ConsumeRandomLengthString(16) : "001008001";
    const std::string response = in.ConsumeRemainingBytesAsString();
    const bool news = tz::isNews(response, local);
    const auto nineDigits = [](std::string_view s) {
        return s.size() == 9 && s.find_first_not_of("0123456789") == std::string_view::npos;
    };
    TZ_FUZZ_CHECK(!news || (response.size() >= 9 && response.size() <= 36));  // 1 to 4 bytes each
    TZ_FUZZ_CHECK(!nineDigits(response) || !nineDigits(local) || news == (response > local));
    // "<BR>" and CR LF CR LF are four bytes each.
    const std::string expanded = tz::expandLineBreaks(response);
    TZ_FUZZ_CHECK(expanded.size() == response.size());
    TZ_FUZZ_CHECK(response.find("<BR>") == std::string::npos || expanded != response);
    return 0;
}
