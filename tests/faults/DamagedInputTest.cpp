// Damaged files on disk at start-up, the settings file or the language file:
// the program must come up (its bar slides out and parks) and click once a
// click kind is chosen on the bar, which also saves a whole settings file.
// (Random settings bytes with a long delay would make the waits meaningless;
// the seed is chosen so they do not.)
#include <functional>
#include <ostream>
#include <random>

#include "ProgramFixture.h"

namespace tz::e2e {
namespace {

struct Damage {
    std::string name;
    std::optional<std::string> settings;  // the default settings when absent
    // Lang/English.lng made from the built one; unchanged when empty.
    std::function<std::string(std::string)> language;
};

void PrintTo(const Damage& damage, std::ostream* os) {
    *os << damage.name;
}

std::string randomBytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(random() & 0xFF);
    }
    return bytes;
}

std::string repeatLines(const std::string& line, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        out += line;
    }
    return out;
}

// The built English file with NUL bytes in its tags, inside its texts and as
// a whole line of them.
std::string withNulBytes(std::string text) {
    for (std::size_t i = 1; i < text.size(); i += 7) {
        text[i] = '\0';
    }
    return text + std::string(300, '\0') + "\r\n";
}

std::vector<Damage> damages() {
    return {
        {"SettingsOfRandomBytes", randomBytes(4096, 1), {}},
        {"SettingsOfTenMegabytesInOneLine", std::string(10 * 1024 * 1024, '7'), {}},
        {"SettingsOfAThousandLines", repeatLines("1\r\n", 1000), {}},
        {"SettingsNamingAMissingLanguageFile",
         "2\r\n5\r\n0\r\nMissing.lng\r\n0\r\n0\r\n0\r\n3\r\n",
         {}},
        {"LanguageFileOfRandomBytes", {}, [](std::string) { return randomBytes(256 * 1024, 2); }},
        {"LanguageFileWithNulBytes", {}, withNulBytes},
        {"LanguageFileOfAHundredThousandLines",
         {},
         [](std::string) { return repeatLines("XX a line of text\r\n", 100000); }},
    };
}

class DamagedInputTest : public ProgramFixture, public ::testing::WithParamInterface<Damage> {};

TEST_P(DamagedInputTest, ProgramStartsAndClicks) {
    const Damage& damage = GetParam();
    sandbox_.writeSettings(damage.settings.value_or(kSettings));
    if (damage.language) {
        const auto built = sandbox_.readFile("Lang/English.lng");
        ASSERT_TRUE(built);
        sandbox_.writeFile("Lang/English.lng", damage.language(*built));
    }
    ASSERT_NO_FATAL_FAILURE(startParked());
    ASSERT_NO_FATAL_FAILURE(choose(bar::Button::Right));
    EXPECT_LT(sandbox_.readSettings().value_or("").size(), 200u)
        << "the saved settings are not eight short lines";
    EXPECT_EQ(restAt(recorder_.centre(), 2), (std::vector<ButtonEvent>{press(3), release(3)}));
    EXPECT_TRUE(runs_.back()->running());
}

INSTANTIATE_TEST_SUITE_P(Faults, DamagedInputTest, ::testing::ValuesIn(damages()),
                         [](const ::testing::TestParamInfo<Damage>& info) {
                             return info.param.name;
                         });

}  // namespace
}  // namespace tz::e2e
