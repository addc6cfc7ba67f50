#include "core/MessageBoxStyle.h"

namespace tz {

namespace {

std::vector<MessageBoxButton> buttonsOf(std::uint32_t style) {
    using B = MessageBoxButton;
    switch (style & mbstyle::ButtonMask) {
        case 0:
            return {B::Ok};
        case 1:
            return {B::Ok, B::Cancel};
        case 2:
            return {B::Abort, B::Retry, B::Ignore};
        case 3:
            return {B::Yes, B::No, B::Cancel};
        case 4:
            return {B::Yes, B::No};
        case 5:
            return {B::Retry, B::Cancel};
        default:
            return {};
    }
}

// Only an exact icon value shows an icon; other combinations show none.
MessageBoxIcon iconOf(std::uint32_t style) {
    switch (style & mbstyle::IconMask) {
        case 0x10:
            return MessageBoxIcon::Critical;
        case 0x20:
            return MessageBoxIcon::Question;
        case 0x30:
            return MessageBoxIcon::Warning;
        case 0x40:
            return MessageBoxIcon::Information;
        case mbstyle::UserIcon:
            return MessageBoxIcon::User;
        default:
            return MessageBoxIcon::None;
    }
}

}  // namespace

std::uint32_t effectiveMessageBoxStyle(std::uint32_t style, bool hasIconName) {
    if (!hasIconName) {
        return style;
    }
    return (style & ~mbstyle::StandardIconBits) | mbstyle::UserIcon;
}

MessageBoxLayout messageBoxLayout(std::uint32_t style, bool hasIconName) {
    MessageBoxLayout layout;
    layout.style = effectiveMessageBoxStyle(style, hasIconName);
    layout.buttons = buttonsOf(layout.style);
    layout.icon = iconOf(layout.style);
    // A default past the last button falls back to the first.
    const std::size_t wanted = (layout.style & mbstyle::DefaultButtonMask) >> 8;
    layout.defaultButton = wanted < layout.buttons.size() ? wanted : 0;
    return layout;
}

std::string messageBoxTitle(const std::string& title) {
    return title.empty() ? std::string(kProgramTitle) : title;
}

}  // namespace tz
