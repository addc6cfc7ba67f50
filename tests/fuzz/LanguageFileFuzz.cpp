// A language file of any bytes, loaded at start-up and from the picker: no
// fault, every text valid UTF-8, texts the file does not reach keep their old
// value (the newer ones become English), and a load the picker accepts gives
// the same table as start-up's.
#include <algorithm>

#include "core/i18n/EnglishTexts.h"
#include "core/i18n/LanguageFile.h"
#include "tests/fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = tz::fuzz::asText(data, size);
    // Lines as the loader counts them: CR LF or a lone CR ends one. Decoding
    // keeps CR bytes, and no CR is part of a longer sequence.
    const std::size_t cr = bytes.rfind('\r');
    const std::size_t end = cr == bytes.npos ? 0 : cr + 1 + bytes.substr(cr + 1).starts_with('\n');
    const std::size_t reached = std::count(bytes.begin(), bytes.end(), '\r') + (end < size);
    tz::TextTable startup, picker;
    startup.fill("\x01old");
    picker.fill("\x01old");
    TZ_FUZZ_CHECK(tz::loadLanguageText(startup, bytes, tz::LoadMode::Startup));
    const bool accepted = tz::loadLanguageText(picker, bytes, tz::LoadMode::Picker);
    TZ_FUZZ_CHECK(!accepted || picker == startup);
    for (std::size_t i = 0; i < startup.size(); ++i) {
        TZ_FUZZ_CHECK(tz::fuzz::wellFormedUtf8(startup[i]) && tz::fuzz::wellFormedUtf8(picker[i]));
        TZ_FUZZ_CHECK(startup[i].find('\r') == std::string::npos);
        const std::string_view unreached = i < tz::kClassicTextCount
                                               ? "\x01old"
                                               : tz::kEnglishNewerTexts[i - tz::kClassicTextCount];
        TZ_FUZZ_CHECK(i < reached || startup[i] == unreached);
    }
    return 0;
}
