#pragma once
#include <array>
#include <cstddef>
#include <string>

namespace tz {

// Every user-visible text of the active language, entries 0 to 50, UTF-8.
inline constexpr std::size_t kTextTableSize = 51;
using TextTable = std::array<std::string, kTextTableSize>;

// The entries the program shows, by what each one says; an entry's number is
// its line in a language file. Entries 33 to 50 are read and kept unused.
namespace TextId {
enum : std::size_t {
    AlreadyRunning = 0,
    ProgramName = 1,
    HelpTip = 2,
    DonateTip = 3,
    OkCaption = 4,
    CancelCaption = 5,
    RightClickTip = 6,
    MiddleClickTip = 7,
    LeftClickTip = 8,
    DoubleClickTip = 9,
    DragTip = 10,
    About = 11,
    ExitTitle = 12,
    OptionsTitle = 13,
    ToleranceCaption = 14,
    DelayCaption = 15,
    StartAtLogonCaption = 16,
    LanguageLink = 17,
    SoundsCaption = 18,
    ExitQuestion = 19,
    YesCaption = 20,
    NoCaption = 21,
    PauseTip = 22,
    MiddleButtonCaption = 23,
    MoreLanguagesLink = 24,
    CheckForUpdatesLink = 25,
    AboutDescription = 26,
    AllRightsReserved = 27,
    MouseSettingsLink = 28,
    HomePage = 29,
    RightEdgeCaption = 30,
    UpdateMessage = 31,
    UpdateTitle = 32,
};
}  // namespace TextId

}  // namespace tz
