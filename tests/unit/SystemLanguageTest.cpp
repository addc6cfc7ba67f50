// First-run language choice: the locale's country picks the language file.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "core/i18n/SystemLanguage.h"
#include "platform/posix/EnvLocale.h"
#include "tests/fakes/FakeLocale.h"

namespace tz {
namespace {

std::string fileFor(const std::string& country) {
    fake::FakeLocale locale(country);
    return chooseLanguageFile(locale);
}

TEST(SystemLanguage, CountryPicksTheLanguageFile) {
    EXPECT_EQ(fileFor("IT"), "Italiano.lng");
    EXPECT_EQ(fileFor("BR"), "Brazilian.lng");
    EXPECT_EQ(fileFor("PT"), "Brazilian.lng");
    EXPECT_EQ(fileFor("DE"), "Deutsch.lng");
    EXPECT_EQ(fileFor("AT"), "English.lng");
    EXPECT_EQ(fileFor("CH"), "English.lng");
    EXPECT_EQ(fileFor(""), "English.lng");               // the query failed
    EXPECT_EQ(languageNameForCountry("frX"), "French");  // first two characters only
}

TEST(SystemLanguage, OnlyABlankNameMeansAFirstRun) {
    EXPECT_TRUE(needsSystemLanguage(""));
    EXPECT_TRUE(needsSystemLanguage("  \t "));
    EXPECT_FALSE(needsSystemLanguage(" Missing.lng "));
}

TEST(EnvLocale, TerritoryOfTheLocaleName) {
    EXPECT_EQ(countryOfLocaleName("it_IT.UTF-8"), "IT");
    EXPECT_EQ(countryOfLocaleName("pt_BR"), "BR");
    EXPECT_EQ(countryOfLocaleName("de_AT@euro"), "AT");
    EXPECT_EQ(countryOfLocaleName("sr_rs.utf8@latin"), "RS");
    EXPECT_EQ(countryOfLocaleName("C.UTF-8"), "");
    EXPECT_EQ(countryOfLocaleName("POSIX"), "");
    EXPECT_EQ(countryOfLocaleName("en"), "");
    EXPECT_EQ(countryOfLocaleName("es_419.UTF-8"), "");
    EXPECT_EQ(countryOfLocaleName("/usr/lib/locale/x_YZ"), "");
}

TEST(EnvLocale, FirstNonEmptyOfLcAllLcMessagesLang) {
    std::map<std::string, std::string> env;
    EnvLocale locale([&env](const char* name) { return env[name]; });
    EXPECT_EQ(locale.countryCode(), "");

    env["LANG"] = "fr_FR.UTF-8";
    EXPECT_EQ(locale.countryCode(), "FR");
    env["LC_MESSAGES"] = "pl_PL.UTF-8";
    EXPECT_EQ(locale.countryCode(), "PL");
    env["LC_ALL"] = "C.UTF-8";  // set, so it wins, even without a country
    EXPECT_EQ(locale.countryCode(), "");
    env["LC_ALL"] = "";
    EXPECT_EQ(locale.countryCode(), "PL");
}

}  // namespace
}  // namespace tz
