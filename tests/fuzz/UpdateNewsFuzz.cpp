// The version file from the network: any answer is judged without a fault;
// news needs exactly nine characters, and for nine plain digits it is the
// digit-by-digit comparison with the local code. The update message's line
// breaks are expanded for any text.
#include <fuzzer/FuzzedDataProvider.h>

#include "core/update/UpdateCheck.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

bool nineDigits(std::string_view s) {
    return s.size() == 9 && s.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string local =
        in.ConsumeBool() ? in.ConsumeRandomLengthString(16) : std::string("001008001");
    const std::string response = in.ConsumeRemainingBytesAsString();

    const bool news = tz::isNews(response, local);
    // A character takes one to four bytes.
    if (response.size() < 9 || response.size() > 36) {
        TZ_FUZZ_CHECK(!news);
    }
    if (nineDigits(response) && nineDigits(local)) {
        TZ_FUZZ_CHECK(news == (response > local));
    }

    const std::string expanded = tz::expandLineBreaks(response);
    std::size_t tags = 0;
    for (std::size_t at = response.find("<BR>"); at != std::string::npos;
         at = response.find("<BR>", at + 4)) {
        ++tags;
    }
    TZ_FUZZ_CHECK(expanded.size() == response.size());  // "<BR>" and CR LF CR LF: four bytes each
    TZ_FUZZ_CHECK(tags == 0 || expanded != response);
    return 0;
}
