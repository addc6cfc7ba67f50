#include "core/i18n/LanguageFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <optional>

#include "core/AsciiCase.h"
#include "core/i18n/EnglishTexts.h"
#include "core/i18n/TextCodePage.h"
#include "core/settings/AtomicFile.h"

namespace tz {

namespace {

// Characters 1 to 3 of each line are a translator's tag, not text.
constexpr std::size_t kTagLength = 3;

bool isContinuationByte(char c) {
    return (static_cast<std::uint8_t>(c) & 0xC0) == 0x80;
}

// The line's length in characters (code points of valid UTF-8), counted only
// up to `limit` since no caller needs more.
std::size_t countCharacters(std::string_view line, std::size_t limit) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < line.size() && count < limit; ++i) {
        if (!isContinuationByte(line[i])) {
            ++count;
        }
    }
    return count;
}

// The line from its 4th character on; empty for shorter lines.
std::string_view textAfterTag(std::string_view line) {
    std::size_t characters = 0;
    std::size_t i = 0;
    while (i < line.size()) {
        if (!isContinuationByte(line[i])) {
            if (characters == kTagLength) {
                return line.substr(i);
            }
            ++characters;
        }
        ++i;
    }
    return {};
}

// Splits text into lines the way the program has always read them: CR LF and
// a lone CR end a line, a lone LF is an ordinary character, and the last line
// needs no line end.
class LineReader {
  public:
    explicit LineReader(std::string_view text) : text_(text) {}

    std::optional<std::string_view> next() {
        if (pos_ >= text_.size()) {
            return std::nullopt;
        }
        const std::size_t cr = text_.find('\r', pos_);
        const std::size_t end = cr == std::string_view::npos ? text_.size() : cr;
        const std::string_view line = text_.substr(pos_, end - pos_);
        pos_ = end;
        if (pos_ < text_.size()) {
            ++pos_;  // the CR
            if (pos_ < text_.size() && text_[pos_] == '\n') {
                ++pos_;
            }
        }
        return line;
    }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// A prefix cut from a longer file may end inside a UTF-8 sequence; without
// that partial character the prefix may still be valid UTF-8.
std::string_view withoutCutCharacter(std::string_view bytes) {
    for (std::size_t back = 1; back <= 3 && back <= bytes.size(); ++back) {
        const char c = bytes[bytes.size() - back];
        if (!isContinuationByte(c)) {
            const auto lead = static_cast<std::uint8_t>(c);
            const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
            return length > back ? bytes.substr(0, bytes.size() - back) : bytes;
        }
    }
    return bytes;
}

}  // namespace

std::string languageFilePath(const std::string& programFolder, const std::string& name) {
    if (name.empty() || name.find('/') != std::string::npos ||
        name.find("..") != std::string::npos || name.find('\0') != std::string::npos) {
        return {};
    }
    const std::string folder = programFolder + "/Lang";
    const std::string exact = folder + "/" + name;
    struct stat info {};
    if (::stat(exact.c_str(), &info) == 0) {
        return exact;
    }
    // Names written on a system that ignores case (or by hand) may differ in
    // case from the file's; the first such file in name order is taken.
    std::string found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string candidate = entry.path().filename().string();
        if (sameIgnoringAsciiCase(candidate, name) && entry.is_regular_file(error) &&
            (found.empty() || candidate < found)) {
            found = candidate;
        }
    }
    return found.empty() ? std::string() : folder + "/" + found;
}

bool loadLanguageText(TextTable& table, std::string_view bytes, LoadMode mode) {
    // A file that ends before the newer entries leaves them English, whatever
    // language the table held before.
    setEnglishNewerTexts(table);
    const std::string text = decodeLocalText(bytes);
    LineReader reader(text);
    std::size_t entry = 0;
    while (const auto line = reader.next()) {
        if (entry >= table.size()) {
            // Start-up reads and drops the surplus lines; nothing of them is kept.
            if (mode == LoadMode::Picker) {
                return false;
            }
            break;
        }
        if (countCharacters(*line, 2) < 2) {
            if (mode == LoadMode::Picker) {
                return false;
            }
        } else {
            table[entry] = std::string(textAfterTag(*line));
        }
        ++entry;
    }
    return true;
}

bool LoadLanguageFile(TextTable& table, const std::string& path, LoadMode mode) {
    std::optional<std::string> bytes = readFilePrefix(path, kLanguageFileReadLimit + 1);
    if (!bytes) {
        return false;
    }
    std::string_view content = *bytes;
    if (content.size() > kLanguageFileReadLimit) {
        content = content.substr(0, kLanguageFileReadLimit);
        const std::string_view whole = withoutCutCharacter(content);
        if (!isValidUtf8(content) && isValidUtf8(whole)) {
            content = whole;
        }
    }
    return loadLanguageText(table, content, mode);
}

}  // namespace tz
