// The path the language picker returns: the name is whatever follows the last
// "/Lang/", never empty, and nothing is returned without such a folder.
#include "i18n/LanguagePickerName.h"
#include "tests/fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view path = tz::fuzz::asText(data, size);
    const auto name = tz::languageNameFromPath(path);
    if (name) {
        TZ_FUZZ_CHECK(!name->empty());
        TZ_FUZZ_CHECK(path.ends_with("/Lang/" + *name));
        TZ_FUZZ_CHECK(name->find("/Lang/") == std::string::npos);
    } else {
        TZ_FUZZ_CHECK(path.find("/Lang/") == std::string_view::npos || path.ends_with("/Lang/"));
    }
    return 0;
}
