#include "core/settings/StartupEntry.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>

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

bool entryGrantsFakeInput(std::string_view text, const std::string& executablePath,
                          const std::function<std::string(const std::string&)>& canonical) {
    std::string_view group;
    std::optional<std::vector<std::string>> exec;
    bool application = false;
    bool hidden = false;
    bool granted = false;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (line.starts_with('[')) {
            group = line;
            continue;
        }
        const auto equals = line.find('=');
        if (group != "[Desktop Entry]" || equals == std::string_view::npos) {
            continue;
        }
        std::string_view key = line.substr(0, equals);
        std::string_view value = line.substr(equals + 1);
        while (key.ends_with(' ')) {
            key.remove_suffix(1);
        }
        while (value.starts_with(' ')) {
            value.remove_prefix(1);
        }
        if (key == "Type") {
            application = value == "Application";
        } else if (key == "Hidden") {
            hidden = value == "true";
        } else if (key == "Exec") {
            exec = parseExecLine(value);
        } else if (key == "X-KDE-Wayland-Interfaces") {
            granted = false;
            for (std::size_t start = 0; start <= value.size();) {
                const auto stop = std::min(value.find_first_of(";,", start), value.size());
                std::string_view item = value.substr(start, stop - start);
                while (item.starts_with(' ')) {
                    item.remove_prefix(1);
                }
                while (item.ends_with(' ')) {
                    item.remove_suffix(1);
                }
                granted = granted || item == "org_kde_kwin_fake_input";
                start = stop + 1;
            }
        }
    }
    return application && !hidden && granted && exec && exec->front().starts_with('/') &&
           !executablePath.empty() && canonical(exec->front()) == executablePath;
}

std::optional<std::string> fakeInputEntryContents(const std::string& executablePath) {
    if (!canBeWrittenInEntry(executablePath)) {
        return std::nullopt;
    }
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Tindro Zevad\n"
           "Comment=Lets KWin take the clicks of the program in this folder\n"
           "Exec=" +
           quoteExecArgument(executablePath) +
           "\n"
           "Terminal=false\n"
           "NoDisplay=true\n"
           "X-KDE-Wayland-Interfaces=org_kde_kwin_fake_input\n";
}

std::string fakeInputEntryFileName(const std::string& executablePath) {
    std::uint32_t hash = 2166136261u;  // FNV-1a
    for (const char c : executablePath) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    char name[48];
    std::snprintf(name, sizeof name, "tindro-zevad-%08x.desktop", static_cast<unsigned>(hash));
    return name;
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
