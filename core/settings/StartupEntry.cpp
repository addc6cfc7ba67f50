#include "core/settings/StartupEntry.h"

#include <sys/stat.h>

#include <algorithm>

#include "core/i18n/TextCodePage.h"

namespace tz {

namespace {

constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
constexpr std::string_view kEscapedInQuotes = "\"`$\\";

bool isControl(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

bool needsQuotes(std::string_view argument) {
    return argument.empty() || std::any_of(argument.begin(), argument.end(), [](char c) {
               return kReserved.find(c) != std::string_view::npos || isControl(c);
           });
}

// The quoting layer of the Exec key.
std::string quoteArgument(std::string_view argument) {
    const bool quoted = needsQuotes(argument);
    std::string out;
    if (quoted) {
        out += '"';
    }
    for (const char c : argument) {
        if (c == '%') {
            out += "%%";
            continue;
        }
        if (quoted && kEscapedInQuotes.find(c) != std::string_view::npos) {
            out += '\\';
        }
        out += c;
    }
    if (quoted) {
        out += '"';
    }
    return out;
}

// The string value layer of every desktop entry key.
std::string escapeStringValue(std::string_view value) {
    std::string out;
    for (const char c : value) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::optional<std::string> unescapeStringValue(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\') {
            out += value[i];
            continue;
        }
        if (++i == value.size()) {
            return std::nullopt;
        }
        switch (value[i]) {
            case 's':
                out += ' ';
                break;
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case 'r':
                out += '\r';
                break;
            case '\\':
                out += '\\';
                break;
            default:
                return std::nullopt;
        }
    }
    return out;
}

// "%%" stands for "%"; any other "%" would be a field code.
std::optional<std::string> undoPercents(const std::string& argument) {
    std::string out;
    for (std::size_t i = 0; i < argument.size(); ++i) {
        if (argument[i] == '%') {
            if (i + 1 == argument.size() || argument[i + 1] != '%') {
                return std::nullopt;
            }
            ++i;
        }
        out += argument[i];
    }
    return out;
}

// Splits the unescaped command line at spaces; a quoted argument spans the
// whole argument, from its first character to its last.
std::optional<std::vector<std::string>> splitArguments(std::string_view line) {
    std::vector<std::string> arguments;
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ') {
            ++i;
            continue;
        }
        std::string argument;
        if (line[i] == '"') {
            for (++i;; ++i) {
                if (i == line.size()) {
                    return std::nullopt;  // unterminated quote
                }
                if (line[i] == '"') {
                    break;
                }
                if (line[i] == '\\') {
                    if (++i == line.size() || kEscapedInQuotes.find(line[i]) == std::string::npos) {
                        return std::nullopt;
                    }
                }
                argument += line[i];
            }
            ++i;
            if (i < line.size() && line[i] != ' ') {
                return std::nullopt;  // text glued to the closing quote
            }
        } else {
            for (; i < line.size() && line[i] != ' '; ++i) {
                if (kReserved.find(line[i]) != std::string_view::npos) {
                    return std::nullopt;  // a reserved character must be quoted
                }
                argument += line[i];
            }
        }
        auto unpercented = undoPercents(argument);
        if (!unpercented) {
            return std::nullopt;
        }
        arguments.push_back(std::move(*unpercented));
    }
    if (arguments.empty()) {
        return std::nullopt;
    }
    return arguments;
}

bool canBeWrittenInEntry(const std::string& path) {
    return !path.empty() && isValidUtf8(path) && std::none_of(path.begin(), path.end(), [](char c) {
        return isControl(c) && c != '\t' && c != '\n' && c != '\r';
    });
}

}  // namespace

std::string quoteExecArgument(std::string_view argument) {
    return escapeStringValue(quoteArgument(argument));
}

std::optional<std::vector<std::string>> parseExecLine(std::string_view execValue) {
    const auto line = unescapeStringValue(execValue);
    if (!line) {
        return std::nullopt;
    }
    return splitArguments(*line);
}

std::optional<std::string> desktopEntryContents(const std::string& executablePath) {
    if (!canBeWrittenInEntry(executablePath)) {
        return std::nullopt;
    }
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Tindro Zevad\n"
           "Comment=Clicks where the pointer rests\n"
           "Exec=" +
           quoteExecArgument(executablePath) +
           "\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

std::string runningExecutablePath(const std::string& reported) {
    constexpr std::string_view kDeleted = " (deleted)";
    const auto isProgramFile = [](const std::string& path) {
        struct stat info {};
        return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
    };
    if (isProgramFile(reported)) {
        return reported;
    }
    // The file that ran was replaced (an upgrade) or removed: the kernel
    // reports its old path with this mark. What lies at that path now is
    // the program to start next time, when there is one.
    if (reported.ends_with(kDeleted)) {
        const std::string now = reported.substr(0, reported.size() - kDeleted.size());
        if (isProgramFile(now)) {
            return now;
        }
    }
    return {};
}

void UpdateStartupEntry(std::int16_t runAtStartup, const std::string& executablePath,
                        StartupEntryStore& store) {
    if (runAtStartup == 1) {
        store.write(executablePath);
    } else {
        store.remove();
    }
}

}  // namespace tz
