// The start-at-logon entry for any executable path: a path the writer accepts
// (not empty, UTF-8, no control character but tab, CR and LF) gives seven lines
// free of control characters, one Exec key, whose value a desktop reads back as
// exactly that path and nothing else; any Exec value reads without a fault.
#include <algorithm>

#include "core/settings/StartupEntry.h"
#include "tests/fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path(tz::fuzz::asText(data, size));
    tz::parseExecLine(path);
    const auto control = [](char c) { return std::uint8_t(c) < 0x20 || c == 0x7F; };
    const auto refused = [&](char c) { return control(c) && c != '\t' && c != '\n' && c != '\r'; };
    const auto entry = tz::desktopEntryContents(path);
    TZ_FUZZ_CHECK(entry.has_value() == (size > 0 && tz::fuzz::wellFormedUtf8(path) &&
                                        std::none_of(path.begin(), path.end(), refused)));
    if (entry) {
        TZ_FUZZ_CHECK(std::count(entry->begin(), entry->end(), '\n') == 7 &&
                      entry->ends_with('\n'));
        TZ_FUZZ_CHECK(std::count_if(entry->begin(), entry->end(), control) == 7);
        const auto exec = entry->find("\nExec=") + 6;
        TZ_FUZZ_CHECK(exec > 6 && entry->rfind("\nExec=") + 6 == exec);
        const auto value = std::string_view(*entry).substr(exec, entry->find('\n', exec) - exec);
        TZ_FUZZ_CHECK(tz::parseExecLine(value) == std::vector<std::string>{path});
    }
    return 0;
}
