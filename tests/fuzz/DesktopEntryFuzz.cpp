// The start-at-logon entry for any executable path: a path the writer accepts
// gives a well-formed entry whose Exec value a desktop reads back as exactly
// that path and nothing else; any Exec value reads without a fault.
#include <algorithm>
#include <optional>
#include <vector>

#include "core/settings/StartupEntry.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

bool writable(std::string_view path) {
    return !path.empty() && tz::fuzz::wellFormedUtf8(path) &&
           std::none_of(path.begin(), path.end(), [](char c) {
               const auto b = static_cast<unsigned char>(c);
               return (b < 0x20 && c != '\t' && c != '\n' && c != '\r') || b == 0x7F;
           });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path(tz::fuzz::asText(data, size));
    tz::parseExecLine(path);

    const auto entry = tz::desktopEntryContents(path);
    TZ_FUZZ_CHECK(entry.has_value() == writable(path));
    if (!entry) {
        return 0;
    }
    // Seven lines, none holding a control character, one of them the Exec key.
    std::vector<std::string_view> lines;
    std::string_view rest = *entry;
    TZ_FUZZ_CHECK(rest.ends_with('\n'));
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        lines.push_back(rest.substr(0, end));
        rest.remove_prefix(end + 1);
    }
    TZ_FUZZ_CHECK(lines.size() == 7);
    std::optional<std::string_view> exec;
    for (const auto line : lines) {
        TZ_FUZZ_CHECK(std::none_of(line.begin(), line.end(), [](char c) {
            return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
        }));
        if (line.starts_with("Exec=")) {
            TZ_FUZZ_CHECK(!exec);
            exec = line.substr(5);
        }
    }
    TZ_FUZZ_CHECK(exec.has_value());
    TZ_FUZZ_CHECK(tz::parseExecLine(*exec) == std::vector<std::string>{path});
    return 0;
}
