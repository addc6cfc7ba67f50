// What a message box shows for a style value, and the numbers it returns.
#include <gtest/gtest.h>

#include "core/MessageBoxStyle.h"

namespace tz {
namespace {

using B = MessageBoxButton;

TEST(MessageBoxStyle, ButtonsIconsAndDefault) {
    EXPECT_EQ(messageBoxLayout(1, false).buttons, (std::vector<B>{B::Ok, B::Cancel}));
    EXPECT_EQ(messageBoxLayout(2, false).buttons, (std::vector<B>{B::Abort, B::Retry, B::Ignore}));
    EXPECT_EQ(messageBoxLayout(3, false).buttons, (std::vector<B>{B::Yes, B::No, B::Cancel}));
    EXPECT_EQ(messageBoxLayout(5, false).buttons, (std::vector<B>{B::Retry, B::Cancel}));
    EXPECT_TRUE(messageBoxLayout(9, false).buttons.empty());
    EXPECT_EQ(messageBoxResult(B::Ignore), 5);
    EXPECT_EQ(messageBoxResult(B::No), 7);

    EXPECT_EQ(messageBoxLayout(0x10, false).icon, MessageBoxIcon::Critical);
    EXPECT_EQ(messageBoxLayout(0x20, false).icon, MessageBoxIcon::Question);
    EXPECT_EQ(messageBoxLayout(0x40, false).icon, MessageBoxIcon::Information);
    EXPECT_EQ(messageBoxLayout(0x50, false).icon, MessageBoxIcon::None);

    EXPECT_EQ(messageBoxLayout(0x103, false).defaultButton, 1u);
    EXPECT_EQ(messageBoxLayout(0x203, false).defaultButton, 2u);
    EXPECT_EQ(messageBoxLayout(0x204, false).defaultButton, 0u);  // no third button
}

TEST(MessageBoxStyle, AnIconNameReplacesTheStandardIcon) {
    EXPECT_EQ(effectiveMessageBoxStyle(68, false), 68u);
    EXPECT_EQ(effectiveMessageBoxStyle(0x134, true), 0x184u);
    const MessageBoxLayout layout = messageBoxLayout(68, true);
    EXPECT_EQ(layout.style, 132u);
    EXPECT_EQ(layout.icon, MessageBoxIcon::User);
    EXPECT_EQ(layout.buttons, (std::vector<B>{B::Yes, B::No}));
}

TEST(MessageBoxStyle, EmptyTitleIsTheProgramTitle) {
    EXPECT_EQ(messageBoxTitle(""), "Tindro Zevad Free");
    EXPECT_EQ(messageBoxTitle(" "), " ");
}

}  // namespace
}  // namespace tz
