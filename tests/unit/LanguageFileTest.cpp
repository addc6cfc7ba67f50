// Language files: one text per line after a three-character tag, read into
// the text table at start-up or from the language picker.
#include <gtest/gtest.h>

#include <filesystem>

#include <chrono>
#include <string>
#include <vector>

#include "core/i18n/LanguageFile.h"
#include "tests/unit/TestDirectory.h"

namespace tz {
namespace {

using namespace std::string_literals;

std::string crlfLines(const std::vector<std::string>& lines) {
    std::string file;
    for (const auto& line : lines) {
        file += line + "\r\n";
    }
    return file;
}

std::string numberedLines(int count) {
    std::string file;
    for (int i = 0; i < count; ++i) {
        file += "xx " + std::to_string(i) + "\r\n";
    }
    return file;
}

TextTable oldTable() {
    TextTable table;
    table.fill("old");
    return table;
}

TEST(LanguageFile, TextStartsAtTheFourthCharacter) {
    TextTable table;
    EXPECT_TRUE(loadLanguageText(
        table, crlfLines({"00 Options", "abc", "éé", "02  space", "ΑΒΓΔέλτα", "00 a\0b"s}),
        LoadMode::Picker));
    EXPECT_EQ(table[0], "Options");
    EXPECT_EQ(table[1], "");  // three characters
    EXPECT_EQ(table[2], "");  // two characters, four bytes
    EXPECT_EQ(table[3], " space");
    EXPECT_EQ(table[4], "Δέλτα");
    EXPECT_EQ(table[5], "a\0b"s);
}

TEST(LanguageFile, LineEndsAreCrLfOrLoneCr) {
    TextTable table;
    loadLanguageText(table, "00 a\nb\nc", LoadMode::Startup);
    EXPECT_EQ(table[0], "a\nb\nc");  // LF only: one line
    EXPECT_EQ(table[1], "");

    loadLanguageText(table, "00 one\r01 two\r\n02 three", LoadMode::Startup);
    EXPECT_EQ(table[0], "one");
    EXPECT_EQ(table[1], "two");
    EXPECT_EQ(table[2], "three");  // no line end after the last line
}

TEST(LanguageFile, StartupSkipsBadLinesAndKeepsUnreachedEntries) {
    TextTable table = oldTable();
    EXPECT_TRUE(
        loadLanguageText(table, crlfLines({"00 zero", "", "é", "03 three"}), LoadMode::Startup));
    EXPECT_EQ(table[0], "zero");
    EXPECT_EQ(table[1], "old");  // empty line: unchanged, but counted
    EXPECT_EQ(table[2], "old");
    EXPECT_EQ(table[3], "three");
    EXPECT_EQ(table[4], "old");

    EXPECT_TRUE(loadLanguageText(table, numberedLines(60), LoadMode::Startup));
    EXPECT_EQ(table[0] + table[50], "050");
}

TEST(LanguageFile, PickerStopsAtTheFirstError) {
    TextTable table = oldTable();
    EXPECT_FALSE(loadLanguageText(table, crlfLines({"00 zero", "01 one", "x", "03 three"}),
                                  LoadMode::Picker));
    EXPECT_EQ(table[1], "one");
    EXPECT_EQ(table[2], "old");
    EXPECT_EQ(table[3], "old");

    // 51 lines fit; a 52nd is an error, after all 51 entries were stored.
    EXPECT_TRUE(loadLanguageText(table, numberedLines(51), LoadMode::Picker));
    table = oldTable();
    EXPECT_FALSE(loadLanguageText(table, numberedLines(52), LoadMode::Picker));
    EXPECT_EQ(table[0] + table[50], "050");
}

TEST(LanguageFile, DecodesUtf8AndWindows1252) {
    TextTable table;
    loadLanguageText(table, crlfLines({"00 Ελληνικά"}), LoadMode::Startup);
    EXPECT_EQ(table[0], "Ελληνικά");

    // Not UTF-8: the whole file is Windows-1252, tag characters included.
    loadLanguageText(table, crlfLines({"\xe8\xe8\xe8Perch\xe8", "01 Caf\xe9 \x80"}),
                     LoadMode::Startup);
    EXPECT_EQ(table[0], "Perchè");
    EXPECT_EQ(table[1], "Café €");
}

TEST(LanguageFile, MissingFileChangesNothing) {
    test::TestDirectory dir;
    TextTable table = oldTable();
    EXPECT_FALSE(LoadLanguageFile(table, dir.file("none.lng"), LoadMode::Startup));
    EXPECT_FALSE(LoadLanguageFile(table, dir.path(), LoadMode::Picker));  // a folder
    EXPECT_EQ(table, oldTable());
}

TEST(LanguageFile, NameFindsItsFileInLangWhateverTheCaseAndNothingOutside) {
    test::TestDirectory dir;
    std::filesystem::create_directories(dir.file("Lang/sub"));
    dir.write("Lang/English.lng", "");
    dir.write("Lang/greek.lng", "");
    dir.write("Lang/GREEK.lng", "");
    dir.write("Lang/sub/French.lng", "");
    dir.write("Deutsch.lng", "");
    dir.write("Lang/Italiano.lng.txt", "");
    const struct {
        const char* name;
        const char* file;  // under the program folder; "" when none
    } cases[] = {
        {"English.lng", "Lang/English.lng"},
        {"english.lng", "Lang/English.lng"},
        {"ENGLISH.LNG", "Lang/English.lng"},
        {"greek.lng", "Lang/greek.lng"},  // the exact name first
        {"Greek.lng", "Lang/GREEK.lng"},  // else the first in name order
        {"Italiano.lng", ""},
        {"sub/French.lng", ""},
        {"../Deutsch.lng", ""},
        {"..", ""},
        {"SUB", ""},  // a folder is no language file
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(languageFilePath(dir.path(), c.name), *c.file ? dir.file(c.file) : "") << c.name;
    }
}

TEST(LanguageFile, HugeFilesLoadQuicklyFromTheirStart) {
    test::TestDirectory dir;
    std::string big = numberedLines(100000);
    big.resize(10 * 1024 * 1024, 'x');
    dir.write("big.lng", big);

    const auto start = std::chrono::steady_clock::now();
    TextTable table;
    EXPECT_TRUE(LoadLanguageFile(table, dir.file("big.lng"), LoadMode::Startup));
    EXPECT_FALSE(LoadLanguageFile(table, dir.file("big.lng"), LoadMode::Picker));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(table[0] + table[50], "050");
}

TEST(LanguageFile, Utf8FileCutAtTheReadLimitStaysUtf8) {
    // The tag and then letters of two or four bytes, placed so that the read
    // limit cuts the last letter after one or three of its bytes.
    static_assert(kLanguageFileReadLimit % 4 == 0);
    const struct {
        std::string head, letter;
        std::size_t textSize;
    } cases[] = {{"00 ", "λ", kLanguageFileReadLimit - 4},
                 {"00 ab", "𝄞", kLanguageFileReadLimit - 6}};
    test::TestDirectory dir;
    for (const auto& c : cases) {
        std::string line = c.head;
        while (line.size() < kLanguageFileReadLimit + 10) {
            line += c.letter;
        }
        dir.write("long.lng", line + "\r\n01 x");
        TextTable table;
        LoadLanguageFile(table, dir.file("long.lng"), LoadMode::Startup);
        EXPECT_EQ(table[0], line.substr(3, c.textSize)) << c.letter;
    }
}

}  // namespace
}  // namespace tz
