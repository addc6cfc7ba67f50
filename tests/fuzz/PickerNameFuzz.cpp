// The path the language picker returns: the name is whatever follows the last
// "/Lang/", never empty, never holding a character the settings file cannot
// keep on its line or a sub-folder, and nothing is returned without such a
// folder or for a name the picker refuses.
#include "core/i18n/LanguagePickerName.h"
#include "tests/fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view path = tz::fuzz::asText(data, size);
    const auto name = tz::languageNameFromPath(path);
    const auto at = path.rfind("/Lang/");
    if (name) {
        TZ_FUZZ_CHECK(!name->empty());
        TZ_FUZZ_CHECK(path.ends_with("/Lang/" + *name));
        TZ_FUZZ_CHECK(name->find_first_of(",\"\r\n/") == std::string::npos);
    } else {
        TZ_FUZZ_CHECK(at == std::string_view::npos || path.ends_with("/Lang/") ||
                      path.substr(at + 6).find_first_of(",\"\r\n/") != std::string_view::npos);
    }
    return 0;
}
