// Texts: language files, the decoding of text from disk, the language chosen from the system or the
// picker, and the names and titles made from texts.
#include <gtest/gtest.h>

#include <map>

#include "core/HelpPage.h"
#include "core/ProductTitle.h"
#include "core/about/AboutTexts.h"
#include "core/i18n/EnglishTexts.h"
#include "core/i18n/LanguageFile.h"
#include "core/i18n/LanguagePickerName.h"
#include "core/i18n/SystemLanguage.h"
#include "core/i18n/TextCodePage.h"
#include "platform/posix/EnvLocale.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/unit/TestDirectory.h"

namespace tz {
namespace {

using namespace std::string_literals;
using test::each;
using V = std::vector<std::string>;

// The first five entries after loading `bytes` into a table of "old" texts.
V load(const std::string& bytes, LoadMode mode, bool ok = true) {
    TextTable table;
    table.fill("old");
    EXPECT_EQ(loadLanguageText(table, bytes, mode), ok) << bytes.substr(0, 40);
    return {table.begin(), table.begin() + 5};
}

std::string numberedLines(std::size_t count) {
    std::string file;
    for (std::size_t i = 0; i < count; ++i) file += "xx " + std::to_string(i) + "\r\n";
    return file;
}

TEST(LanguageFile, EachLineFromItsFourthCharacterGivesOneEntry) {
    // CR LF and a lone CR end lines; a lone LF does not; the last needs no end.
    EXPECT_EQ(load("00 a\nb\r\t1 two\r\n02 three", LoadMode::Picker),
              (V{"a\nb", "two", "three", "old", "old"}));
    EXPECT_EQ(load("abc\r\néé\r\n02  space\r\nΑΒΓΔέλτα\r\n00 a\0b"s, LoadMode::Picker),
              (V{"", "", " space", "Δέλτα", "a\0b"s}));
    // Not UTF-8: the whole file is Windows-1252, tag characters included.
    EXPECT_EQ(load("\xe8\xe8\xe8Perch\xe8\r\n01 Caf\xe9 \x80", LoadMode::Startup),
              (V{"Perchè", "Café €", "old", "old", "old"}));
    // Start-up skips a line shorter than two characters (yet counts it); the picker stops there.
    EXPECT_EQ(load("00 zero\r\n\r\né\r\n03 three", LoadMode::Startup),
              (V{"zero", "old", "old", "three", "old"}));
    EXPECT_EQ(load("00 zero\r\n01 one\r\nx\r\n03 three", LoadMode::Picker, false),
              (V{"zero", "one", "old", "old", "old"}));
    // A whole table's lines fit; the picker refuses one more after storing them.
    constexpr int kLines = static_cast<int>(kTextTableSize);
    for (const auto& [lines, mode, ok] : {std::tuple{kLines, LoadMode::Picker, true},
                                          {kLines + 1, LoadMode::Picker, false},
                                          {kLines + 6, LoadMode::Startup, true}}) {
        TextTable table;
        EXPECT_EQ(loadLanguageText(table, numberedLines(lines), mode), ok) << lines;
        EXPECT_EQ(table[0] + table.back(), "0" + std::to_string(kLines - 1)) << lines;
    }
}

TEST(LanguageFile, EntriesAfterTheClassicOnesAreEnglishWhenTheFileEndsBeforeThem) {
    TextTable table;
    table.fill("old");
    for (const std::size_t lines :
         {kClassicTextCount, kTextTableSize, std::size_t{53}, std::size_t{0}}) {
        ASSERT_TRUE(loadLanguageText(table, numberedLines(lines), LoadMode::Picker));
        for (std::size_t i = kClassicTextCount; i < table.size(); ++i)
            EXPECT_EQ(table[i],
                      i < lines ? std::to_string(i) : kEnglishNewerTexts[i - kClassicTextCount])
                << lines;
    }
}

TEST(LanguageFile, OnlyTheStartOfAFileIsReadAndAUtf8FileCutThereStaysUtf8) {
    // Letters of two to four bytes (lead bytes CE, E0, E2, F0) after the tag, placed so that the
    // read limit cuts the last one after one, two or three of its bytes.
    static_assert(kLanguageFileReadLimit % 4 == 0 && kLanguageFileReadLimit % 3 == 1);
    test::TestDirectory dir;
    const auto first = [&dir](const char* name) {
        TextTable table;
        LoadLanguageFile(table, dir.file(name), LoadMode::Startup);
        return table[0];
    };
    for (const auto& [head, letter, textSize] :
         {std::tuple{"00 "s, "λ"s, kLanguageFileReadLimit - 4},
          {"00 ab"s, "𝄞"s, kLanguageFileReadLimit - 6},
          {"00 "s, "€"s, kLanguageFileReadLimit - 4},
          {"00 ab"s, "€"s, kLanguageFileReadLimit - 5},
          {"00 ab"s, "क"s, kLanguageFileReadLimit - 5},
          {"00 abc"s, "𝄞"s, kLanguageFileReadLimit - 5},
          {"00 "s, "𝄞"s, kLanguageFileReadLimit - 4}}) {
        std::string line = head;
        while (line.size() < kLanguageFileReadLimit + 10) line += letter;
        dir.write("long.lng", line + "\r\n01 x");
        EXPECT_EQ(first("long.lng"), line.substr(3, textSize)) << letter;
    }
    // A Windows-1252 file keeps its last byte even where it looks like a cut lead byte, and so does
    // a short file.
    dir.write("cp1252.lng", "00 " + std::string(kLanguageFileReadLimit, '\xe9'));
    dir.write("short.lng", "00 \xc3");
    EXPECT_EQ(first("cp1252.lng").size(), 2 * (kLanguageFileReadLimit - 3));
    EXPECT_EQ(first("short.lng"), "Ã");
    // A file of a terabyte (sparse: nothing on disk) is read no further either.
    dir.write("huge.lng", "");
    std::filesystem::resize_file(dir.file("huge.lng"), 1ull << 40);
    TextTable table;
    EXPECT_TRUE(LoadLanguageFile(table, dir.file("huge.lng"), LoadMode::Startup));
    EXPECT_EQ(table[0].size(), kLanguageFileReadLimit - 3);
    // A file that cannot be read changes nothing.
    table = TextTable{};
    EXPECT_FALSE(LoadLanguageFile(table, dir.file("none.lng"), LoadMode::Startup));
    EXPECT_FALSE(LoadLanguageFile(table, dir.path(), LoadMode::Picker));  // a folder
    EXPECT_EQ(table, TextTable{});
}

TEST(LanguageFile, NameFindsItsFileInLangWhateverTheCaseAndNothingOutside) {
    test::TestDirectory dir;
    std::filesystem::create_directories(dir.file("Lang/sub"));
    for (const char* file :
         {"Lang/English.lng", "Lang/greek.lng", "Lang/GREEK.lng", "Lang/sub/French.lng",
          "Deutsch.lng", "Lang/Italiano.lng.txt", "Lang/AZ.lng"})
        dir.write(file, "");
    const auto found = [&dir](const char* name) {
        const std::string path = languageFilePath(dir.path(), name);
        return path.empty() ? path : path.substr(dir.path().size() + 1);
    };
    // The exact name first, else the first in name order that differs in case.
    EXPECT_EQ(each(found, {"English.lng", "ENGLISH.LNG", "az.lng", "greek.lng", "Greek.lng",
                           "Italiano.lng", "sub/French.lng", "../Deutsch.lng", "..", "SUB", "",
                           "ENGLISH.LNGX", "zzzzz.lng"}),
              (V{"Lang/English.lng", "Lang/English.lng", "Lang/AZ.lng", "Lang/greek.lng",
                 "Lang/GREEK.lng", "", "", "", "", "", "", "", ""}));
}

TEST(TextCodePage, KeepsValidUtf8AndReadsAnythingElseAsWindows1252) {
    // Overlong forms, surrogates, values past U+10FFFF and cut or broken sequences are no UTF-8.
    EXPECT_EQ(
        each(isValidUtf8, {"\x7f", "\xc2\x80", "\xdf\xbf", "\xe0\xa0\x80", "\xed\x9f\xbf",
                           "\xee\x80\x80", "\xef\xbf\xbf", "\xf0\x90\x80\x80", "\xf4\x8f\xbf\xbf"}),
        std::vector<bool>(9, true));
    EXPECT_EQ(each(isValidUtf8, {"\x80", "\xc1\xbf", "\xe0\x9f\xbf", "\xed\xa0\x80", "\xed\xbf\xbf",
                                 "\xf0\x8f\xbf\xbf", "\xf4\x90\x80\x80", "\xf5\x80\x80\x80",
                                 "\xe2\x82", "\xe2\x28\xa1", "\xc3\xc3"}),
              std::vector<bool>(11, false));
    EXPECT_EQ(decodeLocalText("Perch\xe9 \xa0\xff\x01"), "Perché \u00a0ÿ\x01");
    std::string row;  // bytes 0x80 to 0x9F; the unassigned ones stay C1 controls
    for (int b = 0x80; b < 0xA0; ++b) row += static_cast<char>(b);
    EXPECT_EQ(decodeLocalText(row),
              "€\xc2\x81‚ƒ„…†‡ˆ‰Š‹Œ\xc2\x8dŽ\xc2\x8f\xc2\x90‘’“”•–—˜™š›œ\xc2\x9džŸ");
}

TEST(SystemLanguage, TheLocalesCountryPicksTheLanguageOnAFirstRun) {
    const auto fileFor = [](const char* country) {
        fake::FakeLocale locale(country);
        return chooseLanguageFile(locale);
    };
    EXPECT_EQ(each(fileFor, {"IT", "it", "BR", "PT", "frX", "AT", ""}),
              (V{"Italiano.lng", "Italiano.lng", "Brazilian.lng", "Brazilian.lng", "French.lng",
                 "English.lng", "English.lng"}));
    EXPECT_TRUE(needsSystemLanguage("  \t "));
    EXPECT_FALSE(needsSystemLanguage(" Missing.lng "));
    // The locale is the first set of LC_ALL, LC_MESSAGES and LANG.
    EXPECT_EQ(each(countryOfLocaleName, {"it_IT.UTF-8", "de_AT@euro", "sr_rs.utf8@latin", "C.UTF-8",
                                         "en", "es_419.UTF-8", "/usr/lib/locale/x_YZ"}),
              (V{"IT", "AT", "RS", "", "", "", ""}));
    std::map<std::string, std::string> env;
    EnvLocale locale([&env](const char* name) { return env[name]; });
    for (const auto& [variable, value, country] : {std::tuple{"", "", ""},
                                                   {"LANG", "fr_FR.UTF-8", "FR"},
                                                   {"LC_MESSAGES", "pl_PL.UTF-8", "PL"},
                                                   {"LC_ALL", "C.UTF-8", ""},
                                                   {"LC_ALL", "", "PL"}}) {
        env[variable] = value;
        EXPECT_EQ(locale.countryCode(), country) << variable << "=" << value;
    }
}

TEST(NamesAndTitles, PickedLanguageHelpPageProductAndAboutTitles) {
    // The picker's file: what follows the last exact "/Lang/", when the settings file can hold it
    // and the program can load it by that name.
    EXPECT_EQ(languageNameFromPath("/opt/Lang/Lang/Greek.lng"), "Greek.lng");
    EXPECT_EQ(each(languageNameFromPath, {"/opt/tz/lang/French.lng", "Lang/French.lng",
                                          "/opt/tz/Lang/", "", "/opt/tz/Lang/sub/file.lng",
                                          "/opt/tz/Lang/Fr,ench.lng", "/opt/tz/Lang/say \"hi\".lng",
                                          "/opt/tz/Lang/cr\r.lng", "/opt/tz/Lang/lf\n.lng"}),
              std::vector<std::optional<std::string>>(9));
    EXPECT_EQ(each(helpPageName, {"ITALIANO.LNG", "Greek.lng", "sub/Italiano.lng", ""}),
              (V{"/help-it.html", "/help-el.html", "/help-en.html", "/help-en.html"}));
    EXPECT_EQ(buildProductTitle(1, 8, 1), "Tindro Zevad Free 1.8.1");
    EXPECT_EQ(releaseLabel(1, 8, 1), "Rel. 1.8.1");
    // The about window's title is its text less the last three characters.
    EXPECT_EQ(each(aboutWindowTitle, {"About...", "Über…xy", "abc", "ab"}),
              (V{"About", "Über", "", ""}));
}

}  // namespace
}  // namespace tz
