#include "i18n/LanguagePickerName.h"

#include <gtest/gtest.h>

namespace tz {
namespace {

TEST(LanguagePickerName, WhatFollowsTheLastExactLangFolder) {
    EXPECT_EQ(languageNameFromPath("/opt/tz/Lang/French.lng"), "French.lng");
    EXPECT_EQ(languageNameFromPath("/opt/tz/Lang/sub/file.lng"), "sub/file.lng");
    EXPECT_EQ(languageNameFromPath("/home/me/Lang/German.lng"), "German.lng");
    EXPECT_EQ(languageNameFromPath("/opt/Lang/tz/Lang/Greek.lng"), "Greek.lng");
    EXPECT_EQ(languageNameFromPath("/opt/Lang/Lang/Greek.lng"), "Greek.lng");
    for (const char* none : {"/home/me/Desktop/French.lng", "/opt/tz/lang/French.lng",
                             "Lang/French.lng", "/opt/tz/Lang/", ""}) {
        EXPECT_EQ(languageNameFromPath(none), std::nullopt) << none;
    }
}

}  // namespace
}  // namespace tz
