#include "core/settings/SettingsFile.h"

#include <charconv>
#include <limits>

#include "core/i18n/TextCodePage.h"

namespace tz {

namespace {

// A settings file is eight short lines; anything past this is not read.
constexpr std::size_t kMaxSettingsBytes = 64 * 1024;

// Walks the fields of the file:
// blanks before a field are skipped, a comma or a line end (CR, LF, CR LF)
// ends it, and a number also ends at a blank.
class FieldReader {
  public:
    explicit FieldReader(std::string_view bytes) : bytes_(bytes) {}

    std::optional<std::string_view> numberField() {
        if (!startField()) {
            return std::nullopt;
        }
        const std::size_t start = pos_;
        while (pos_ < bytes_.size() && !isBlank(bytes_[pos_]) && !isDelimiter(bytes_[pos_])) {
            ++pos_;
        }
        const std::string_view field = bytes_.substr(start, pos_ - start);
        endField();
        return field;
    }

    std::optional<std::string_view> textField() {
        if (!startField()) {
            return std::nullopt;
        }
        std::string_view field;
        if (bytes_[pos_] == '"') {
            const std::size_t start = ++pos_;
            while (pos_ < bytes_.size() && bytes_[pos_] != '"') {
                ++pos_;
            }
            field = bytes_.substr(start, pos_ - start);
            if (pos_ < bytes_.size()) {
                ++pos_;  // closing quote
            }
            // Whatever follows the closing quote up to the delimiter is dropped.
            while (pos_ < bytes_.size() && !isDelimiter(bytes_[pos_])) {
                ++pos_;
            }
        } else {
            const std::size_t start = pos_;
            while (pos_ < bytes_.size() && !isDelimiter(bytes_[pos_])) {
                ++pos_;
            }
            field = bytes_.substr(start, pos_ - start);
        }
        endField();
        return field;
    }

  private:
    static bool isBlank(char c) { return c == ' ' || c == '\t'; }
    static bool isDelimiter(char c) { return c == ',' || c == '\r' || c == '\n'; }

    bool startField() {
        while (pos_ < bytes_.size() && isBlank(bytes_[pos_])) {
            ++pos_;
        }
        return pos_ < bytes_.size();
    }

    // Consumes the blanks after a field and then one delimiter.
    void endField() {
        while (pos_ < bytes_.size() && isBlank(bytes_[pos_])) {
            ++pos_;
        }
        if (pos_ >= bytes_.size()) {
            return;
        }
        if (bytes_[pos_] == ',' || bytes_[pos_] == '\n') {
            ++pos_;
        } else if (bytes_[pos_] == '\r') {
            ++pos_;
            if (pos_ < bytes_.size() && bytes_[pos_] == '\n') {
                ++pos_;
            }
        }
    }

    std::string_view bytes_;
    std::size_t pos_ = 0;
};

std::int16_t toInt16(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() ||
        value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max()) {
        return 0;
    }
    return static_cast<std::int16_t>(value);
}

bool readNumber(FieldReader& reader, std::int16_t& target) {
    const auto field = reader.numberField();
    if (!field) {
        return false;
    }
    target = toInt16(*field);
    return true;
}

// How line 4 holds a name so that the reader gives it back unchanged.
enum class NameForm { AsItIs, Quoted, Unstorable };

NameForm languageNameForm(std::string_view name) {
    if (!isValidUtf8(name) || name.find_first_of("\r\n") != std::string_view::npos) {
        return NameForm::Unstorable;  // the reader would decode it or end the line in it
    }
    const bool needsQuotes =
        name.find(',') != std::string_view::npos ||
        (!name.empty() && (name.front() == ' ' || name.front() == '\t' || name.front() == '"'));
    if (!needsQuotes) {
        return NameForm::AsItIs;
    }
    // Inside quotes the reader stops at the first quote.
    return name.find('"') == std::string_view::npos ? NameForm::Quoted : NameForm::Unstorable;
}

}  // namespace

bool isStorableLanguageName(std::string_view name) {
    return languageNameForm(name) != NameForm::Unstorable;
}

Settings parseSettings(std::string_view bytes) {
    Settings s;
    FieldReader reader(bytes);
    if (!readNumber(reader, s.tolerance) || !readNumber(reader, s.delay) ||
        !readNumber(reader, s.runAtStartup)) {
        return s;
    }
    const auto language = reader.textField();
    if (!language) {
        return s;
    }
    s.languageFile = decodeLocalText(*language);
    readNumber(reader, s.soundOn) && readNumber(reader, s.middleButton) &&
        readNumber(reader, s.rightEdge) && readNumber(reader, s.startMode);
    return s;
}

std::string formatSettings(const Settings& s) {
    std::string out;
    const auto line = [&out](std::string_view text) {
        out += text;
        out += "\r\n";
    };
    line(std::to_string(s.tolerance));
    line(std::to_string(s.delay));
    line(std::to_string(s.runAtStartup));
    switch (languageNameForm(s.languageFile)) {
        case NameForm::AsItIs:
            line(s.languageFile);
            break;
        case NameForm::Quoted:
            line("\"" + s.languageFile + "\"");
            break;
        case NameForm::Unstorable:
            line("");  // read back as no name: the next start chooses the language again
            break;
    }
    line(std::to_string(s.soundOn));
    line(std::to_string(s.middleButton));
    line(std::to_string(s.rightEdge));
    line(std::to_string(s.startMode));
    return out;
}

Settings readSettingsFile(const std::string& path) {
    const auto bytes = readFilePrefix(path, kMaxSettingsBytes);
    return bytes ? parseSettings(*bytes) : Settings{};
}

bool writeSettingsFile(const std::string& path, const Settings& settings, FileOps& ops) {
    return saveFileIfChanged(path, formatSettings(settings), ops);
}

}  // namespace tz
