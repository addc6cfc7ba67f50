#pragma once
#include <array>
#include <cstddef>
#include <string>

namespace tz {

// Every user-visible text of the active language, UTF-8. Entries 0 to 50 are
// the classic table; the entries after them belong to the countdown, the tray
// icon, the "More options" window, the scroll kind, "Find my settings" and the
// reasons the program cannot start, and fall back to English
// (the table in EnglishTexts.h) in a language file that ends before them.
inline constexpr std::size_t kClassicTextCount = 51;
inline constexpr std::size_t kTextTableSize = 82;
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
    PauseClicking = 51,
    ResumeClicking = 52,
    ClickingPaused = 53,
    MoreOptionsLink = 54,
    MoreOptionsTitle = 55,
    CountdownCaption = 56,
    CountdownSizeCaption = 57,
    TrayCaption = 58,
    PauseKeyCaption = 59,
    CancelOnPressCaption = 60,
    NoKey = 61,
    Scroll = 62,
    ScrollButtonCaption = 63,
    FindSettingsLink = 64,
    FinderTitle = 65,
    FinderInstruction = 66,
    FinderTooFewSamples = 67,
    ApplyCaption = 68,
    LargerToleranceEffect = 69,
    SmallerToleranceEffect = 70,
    LongerDelayEffect = 71,
    ShorterDelayEffect = 72,
    NoChange = 73,
    OtherWaylandRefusal = 74,
    NoXwaylandRefusal = 75,
    NoX11Refusal = 76,
    NoXTestRefusal = 77,
    KWinNotOnBusRefusal = 78,
    KWinScriptRefusal = 79,
    FakeInputRefusal = 80,
    NotInThisSession = 81,
};
}  // namespace TextId

}  // namespace tz
