// A language file of any bytes, loaded at start-up and from the picker: no
// fault, every text valid UTF-8, texts the file does not reach keep their old
// value, and a load the picker accepts gives the same table as start-up's.
#include "core/i18n/LanguageFile.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

// Lines as the loader counts them: CR LF or a lone CR ends one.
std::size_t lineCount(std::string_view text) {
    std::size_t lines = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        ++lines;
        const std::size_t cr = text.find('\r', pos);
        if (cr == std::string_view::npos) {
            break;
        }
        pos = cr + 1;
        if (pos < text.size() && text[pos] == '\n') {
            ++pos;
        }
    }
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = tz::fuzz::asText(data, size);
    const std::string kOld = "\x01old";

    tz::TextTable startup;
    startup.fill(kOld);
    TZ_FUZZ_CHECK(tz::loadLanguageText(startup, bytes, tz::LoadMode::Startup));
    // Decoding maps bytes to characters one to one or keeps them, and a CR is
    // never part of a longer sequence, so the raw bytes have the same lines.
    const std::size_t reached = lineCount(bytes);
    for (std::size_t i = 0; i < startup.size(); ++i) {
        TZ_FUZZ_CHECK(tz::fuzz::wellFormedUtf8(startup[i]));
        TZ_FUZZ_CHECK(startup[i].find('\r') == std::string::npos);
        if (i >= reached) {
            TZ_FUZZ_CHECK(startup[i] == kOld);
        }
    }

    tz::TextTable picker;
    picker.fill(kOld);
    if (tz::loadLanguageText(picker, bytes, tz::LoadMode::Picker)) {
        TZ_FUZZ_CHECK(picker == startup);
    } else {
        for (const auto& text : picker) {
            TZ_FUZZ_CHECK(tz::fuzz::wellFormedUtf8(text));
        }
    }
    return 0;
}
