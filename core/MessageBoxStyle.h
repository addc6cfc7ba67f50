#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tz {

// The title of a message box whose caller gives none.
inline constexpr std::string_view kProgramTitle = "Tindro Zevad Free";

// A message box button; its value is the number the box returns for it.
enum class MessageBoxButton : int {
    Ok = 1,
    Cancel = 2,
    Abort = 3,
    Retry = 4,
    Ignore = 5,
    Yes = 6,
    No = 7
};

enum class MessageBoxIcon { None, Critical, Question, Warning, Information, User };

// Style bits, with the values the program's callers have always passed.
namespace mbstyle {
inline constexpr std::uint32_t ButtonMask = 0x0000000F;
inline constexpr std::uint32_t IconMask = 0x000000F0;
inline constexpr std::uint32_t StandardIconBits = 0x00000070;
inline constexpr std::uint32_t UserIcon = 0x00000080;
inline constexpr std::uint32_t DefaultButtonMask = 0x00000F00;
}  // namespace mbstyle

// What a box of a given style shows.
struct MessageBoxLayout {
    std::vector<MessageBoxButton> buttons;  // in reading order; empty for an unknown set
    MessageBoxIcon icon = MessageBoxIcon::None;
    std::size_t defaultButton = 0;  // index into buttons
    std::uint32_t style = 0;        // the style in force
};

// With an icon name the box shows that icon: the standard icon bits are
// cleared and the user-icon bit set (68 becomes 132).
std::uint32_t effectiveMessageBoxStyle(std::uint32_t style, bool hasIconName);

MessageBoxLayout messageBoxLayout(std::uint32_t style, bool hasIconName);

// The given title, or the program's title when it is empty.
std::string messageBoxTitle(const std::string& title);

inline int messageBoxResult(MessageBoxButton button) {
    return static_cast<int>(button);
}

}  // namespace tz
