#include "core/i18n/LanguagePickerName.h"

#include <gtest/gtest.h>

namespace tz {
namespace {

TEST(LanguagePickerName, WhatFollowsTheLastExactLangFolder) {
    EXPECT_EQ(languageNameFromPath("/opt/tz/Lang/French.lng"), "French.lng");
    EXPECT_EQ(languageNameFromPath("/home/me/Lang/German.lng"), "German.lng");
    EXPECT_EQ(languageNameFromPath("/opt/Lang/tz/Lang/Greek.lng"), "Greek.lng");
    EXPECT_EQ(languageNameFromPath("/opt/Lang/Lang/Greek.lng"), "Greek.lng");
    for (const char* none : {"/home/me/Desktop/French.lng", "/opt/tz/lang/French.lng",
                             "Lang/French.lng", "/opt/tz/Lang/", "", "/opt/tz/Lang/sub/file.lng",
                             "/opt/tz/Lang/Fr,ench.lng", "/opt/tz/Lang/say \"hi\".lng",
                             "/opt/tz/Lang/two\r\nlines.lng", "/opt/tz/Lang/lf\n.lng"}) {
        EXPECT_EQ(languageNameFromPath(none), std::nullopt) << none;
    }
}

}  // namespace
}  // namespace tz
