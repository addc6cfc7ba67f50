#include "core/about/AboutTexts.h"

#include <gtest/gtest.h>

namespace tz {
namespace {

TEST(AboutTexts, TitleDropsTheLastThreeCharacters) {
    EXPECT_EQ(aboutWindowTitle("About..."), "About");
    EXPECT_EQ(aboutWindowTitle("Σχετικά..."), "Σχετικά");
    EXPECT_EQ(aboutWindowTitle("Über…xy"), "Über");  // characters, not bytes
    EXPECT_EQ(aboutWindowTitle("abc"), "");
    EXPECT_EQ(aboutWindowTitle("ab"), "");
    EXPECT_EQ(aboutWindowTitle(""), "");
}

TEST(AboutTexts, ReleaseLabelHasNoLeadingZeros) {
    EXPECT_EQ(releaseLabel(1, 8, 1), "Rel. 1.8.1");
}

}  // namespace
}  // namespace tz
