// Small pure rules: the help page, the product title, the feedback sounds and
// the decoding of text files.
#include <gtest/gtest.h>

#include "core/FeedbackSounds.h"
#include "core/HelpPage.h"
#include "core/ProductTitle.h"
#include "core/i18n/TextCodePage.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/unit/TestDirectory.h"

namespace tz {
namespace {

TEST(HelpPage, ChosenByTheWholeLanguageFileNameIgnoringCase) {
    EXPECT_EQ(helpPageName("Italiano.lng"), "/help-it.html");
    EXPECT_EQ(helpPageName("ITALIANO.LNG"), "/help-it.html");
    EXPECT_EQ(helpPageName("Greek.lng"), "/help-el.html");
    EXPECT_EQ(helpPageName("English.lng"), "/help-en.html");
    EXPECT_EQ(helpPageName("sub/Italiano.lng"), "/help-en.html");
    EXPECT_EQ(helpPageName(""), "/help-en.html");
}

TEST(ProductTitle, ShowsMajorMinorAndRevision) {
    EXPECT_EQ(buildProductTitle(1, 8, 1), "Tindro Zevad Free 1.8.1");
}

TEST(FeedbackSounds, PlaysTheFileOrBeeps) {
    test::TestDirectory dir;
    std::filesystem::create_directory(dir.file("Click"));
    dir.write("Click/Click2.wav", "RIFF");
    fake::FakeSound sound;
    FeedbackSounds sounds(sound, dir.path());

    sounds.playHover();
    EXPECT_EQ(sound.played, std::vector<std::string>{dir.file("Click/Click2.wav")});
    EXPECT_EQ(sound.beeps, 0);

    sounds.playClick();  // Click1.wav is missing
    EXPECT_EQ(sound.played.size(), 1u);
    EXPECT_EQ(sound.beeps, 1);

    sound.playable = false;  // present but not playable
    sounds.playHover();
    EXPECT_EQ(sound.beeps, 2);
}

TEST(TextCodePage, KeepsUtf8AndDecodesWindows1252) {
    EXPECT_EQ(decodeLocalText("Ελληνικά"), "Ελληνικά");
    EXPECT_EQ(decodeLocalText("Perch\xe9 \x80 \x93ok\x94"), "Perché € “ok”");
    std::string row;  // bytes 0x80 to 0x9F; the unassigned ones stay C1 controls
    for (int b = 0x80; b < 0xA0; ++b) {
        row += static_cast<char>(b);
    }
    EXPECT_EQ(decodeLocalText(row),
              "€\xc2\x81‚ƒ„…†‡ˆ‰Š‹Œ\xc2\x8dŽ\xc2\x8f\xc2\x90‘’“”•–—˜™š›œ\xc2\x9džŸ");
    EXPECT_FALSE(isValidUtf8("\xc0\xaf"));         // overlong
    EXPECT_FALSE(isValidUtf8("\xed\xa0\x80"));     // surrogate
    EXPECT_FALSE(isValidUtf8("\xe2\x82"));         // cut short
    EXPECT_TRUE(isValidUtf8("\xf0\x9f\x98\x80"));  // emoji
}

}  // namespace
}  // namespace tz
