#include "core/extras/ExtrasSettings.h"

#include <charconv>
#include <optional>

#include "core/AsciiCase.h"

namespace tz {

namespace {

// The extras file is seven short lines; a bigger file is no file of ours.
constexpr std::size_t kMaxExtrasBytes = 64 * 1024;
constexpr std::size_t kMaxKeyNameLength = 32;

// A CR counts as a blank, so CR LF lines read as LF ones.
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<bool> toBool(std::string_view value) {
    if (value == "1" || sameIgnoringAsciiCase(value, "true")) {
        return true;
    }
    if (value == "0" || sameIgnoringAsciiCase(value, "false")) {
        return false;
    }
    return std::nullopt;
}

std::optional<int> toCountdownSize(std::string_view value) {
    int size = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), size);
    if (error != std::errc{} || end != value.data() + value.size() || size < kCountdownSizeMin ||
        size > kCountdownSizeMax) {
        return std::nullopt;
    }
    return size;
}

// An X key name as the pause key: letters, digits and '_', or "" for none.
bool isStorableKeyName(std::string_view name) {
    if (name.size() > kMaxKeyNameLength) {
        return false;
    }
    for (const char c : name) {
        const bool letterOrDigit =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!letterOrDigit && c != '_') {
            return false;
        }
    }
    return true;
}

void setBool(bool& target, std::string_view value) {
    if (const auto flag = toBool(value)) {
        target = *flag;
    }
}

// Takes one "key = value" line. Blank lines, section headers and comment
// lines (";" or "#" first) hold no known key before an "=", so they change
// nothing, like unknown keys and damaged values.
void takeLine(ExtrasSettings& extras, std::string_view line) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return;
    }
    const std::string_view key = trimmed(line.substr(0, equals));
    const std::string_view value = trimmed(line.substr(equals + 1));
    if (key == "CountdownOn") {
        setBool(extras.countdownOn, value);
    } else if (key == "CountdownSize") {
        extras.countdownSize = toCountdownSize(value).value_or(extras.countdownSize);
    } else if (key == "TrayOn") {
        setBool(extras.trayOn, value);
    } else if (key == "PauseKey") {
        if (isStorableKeyName(value)) {
            extras.pauseKey = value;
        }
    } else if (key == "CancelOnPress") {
        setBool(extras.cancelOnPress, value);
    } else if (key == "ScrollButton") {
        setBool(extras.scrollButton, value);
    }
}

}  // namespace

ExtrasSettings parseExtras(std::string_view text) {
    ExtrasSettings extras;
    while (!text.empty()) {
        const std::size_t lf = text.find('\n');
        takeLine(extras, text.substr(0, lf));
        text = lf == std::string_view::npos ? std::string_view() : text.substr(lf + 1);
    }
    return extras;
}

std::string formatExtras(const ExtrasSettings& extras) {
    std::string out = "[Extras]\n";
    const auto line = [&out](std::string_view key, std::string_view value) {
        ((out += key) += '=') += value;
        out += '\n';
    };
    line("CountdownOn", extras.countdownOn ? "1" : "0");
    // A value the reader would refuse is left out, so it reads back as the default.
    if (toCountdownSize(std::to_string(extras.countdownSize))) {
        line("CountdownSize", std::to_string(extras.countdownSize));
    }
    line("TrayOn", extras.trayOn ? "1" : "0");
    if (isStorableKeyName(extras.pauseKey)) {
        line("PauseKey", extras.pauseKey);
    }
    line("CancelOnPress", extras.cancelOnPress ? "1" : "0");
    line("ScrollButton", extras.scrollButton ? "1" : "0");
    return out;
}

std::string extrasPathBeside(const std::string& settingsPath) {
    const auto slash = settingsPath.rfind('/');
    return (slash == std::string::npos ? std::string() : settingsPath.substr(0, slash + 1)) +
           kExtrasFileName;
}

ExtrasSettings readExtrasFile(const std::string& path) {
    const auto bytes = readFilePrefix(path, kMaxExtrasBytes + 1);
    return bytes && bytes->size() <= kMaxExtrasBytes ? parseExtras(*bytes) : ExtrasSettings{};
}

bool writeExtrasFile(const std::string& path, const ExtrasSettings& extras, FileOps& ops) {
    return saveFileIfChanged(path, formatExtras(extras), ops);
}

}  // namespace tz
