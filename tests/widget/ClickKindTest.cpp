// The click kind the user chose outlives the exit, options and about windows.
#include "tests/widget/WindowsFixture.h"

namespace tz::test {
namespace {

using ClickKindTest = WindowsTest;

// The one lit button of the bar, or -1.
int litButton(const ClickBar& bar) {
    int lit = -1;
    for (int i = 0; i < ClickBar::kButtonCount; ++i) {
        if (bar.isButtonLit(i))
            lit = lit == -1 ? i : -2;
    }
    return lit;
}

// Every way the exit and options windows open and close, one after the other in one run (the
// windows made at start-up close first): opened by a rest on the bar's button (lit, then its
// command) or from the tray; closed by No, OK, Cancel or the close box (""). Each close gives back
// the kind chosen before, lit, and OK saves it as the next start's kind.
TEST_F(ClickKindTest, ClosingTheExitOrOptionsWindowGivesBackTheChosenKindLit) {
    start();  // left click restored
    const auto exit = ClickMode::Exit, options = ClickMode::Options;
    // clang-format off
    const std::tuple<std::int16_t, ClickMode, bool, std::string> cases[] = {
        {2, exit, true, "noButton"}, {2, options, true, "okButton"}, {2, options, true, "cancelButton"},
        {2, exit, false, "noButton"}, {5, options, false, "okButton"}, {5, exit, true, ""},
        {1, options, true, ""}, {1, exit, false, "noButton"}, {1, options, false, "cancelButton"},
        {6, options, true, "okButton"}, {1, exit, true, "noButton"}};
    // clang-format on
    for (const auto& [chosen, window, fromBar, close] : cases) {
        SCOPED_TRACE(std::to_string(chosen) + " " + std::to_string(int(window)) + " " + close);
        bar->selectButton(chosen);
        fromBar ? (bar->selectButton(std::int16_t(window)), bar->activateButton(window))
                : bar->runButtonCommand(window);
        QWidget* shown = window == ClickMode::Exit ? static_cast<QWidget*>(windows.exitWindow())
                                                   : windows.optionsWindow();
        ASSERT_TRUE(shown != nullptr && shown->isVisible());
        EXPECT_EQ(app.clickMode, ClickMode::LeftClick);
        close.empty() ? void(shown->close()) : click(control(*shown, close.c_str()));
        EXPECT_EQ(static_cast<int>(app.clickMode), chosen);
        EXPECT_EQ(litButton(*bar), chosen);
        EXPECT_EQ(dir.read(kSettingsFileName).substr(31), std::to_string(chosen) + "\r\n");
    }
}

// Only a kind the user chose comes back, never a passing command button's, and the left click stays
// while the other window still shows.
TEST_F(ClickKindTest, OnlyAChosenKindComesBackAndOnlyOnceBothWindowsAreClosed) {
    start("");  // no file: nothing chosen, the exit button lit
    ASSERT_EQ(app.clickMode, ClickMode::Exit);
    bar->activateButton(ClickMode::Exit);
    click(control(*windows.exitWindow(), "noButton"));
    EXPECT_EQ(app.clickMode, ClickMode::LeftClick) << "the tray's kind, clicking again";
    EXPECT_EQ(litButton(*bar), 3);

    bar->selectButton(2);
    bar->selectButton(7);
    bar->activateButton(ClickMode::Options);
    bar->runButtonCommand(ClickMode::Exit);  // from the tray, over the options window
    bar->selectButton(8);                    // the pointer crosses the bar meanwhile
    click(control(*windows.exitWindow(), "noButton"));
    EXPECT_EQ(app.clickMode, ClickMode::LeftClick) << "the options window still shows";
    click(control(*windows.optionsWindow(), "okButton"));
    EXPECT_EQ(app.clickMode, ClickMode::DoubleClick);
    EXPECT_EQ(litButton(*bar), 2);
    EXPECT_EQ(dir.read(kSettingsFileName).substr(31), "2\r\n");
}

// From the tray the about window opens on its own, in the middle of the screen: it neither makes
// nor shows the options window, and a second opening while it shows says the rights once.
TEST_F(ClickKindTest, AboutFromTheTrayClosesBackToWhereTheUserWas) {
    start("2\r\n5\r\n0\r\nEnglish.lng\r\n0\r\n0\r\n0\r\n5\r\n");
    click(control(openOptions(), "cancelButton"));
    ASSERT_EQ(windows.optionsWindow(), nullptr);
    for (int opening = 0; opening < 2; ++opening) windows.openAboutWindow();
    AboutWindow* about = windows.aboutWindow();
    ASSERT_TRUE(about != nullptr && about->isVisible());
    EXPECT_EQ(windows.optionsWindow(), nullptr);
    // Used by resting like the options window, whatever kind was chosen.
    EXPECT_EQ(app.clickMode, ClickMode::LeftClick);
    EXPECT_LE((about->geometry().center() - QPoint(640, 512)).manhattanLength(), 4);
    EXPECT_EQ(control<QLabel>(*about, "copyrightLabel")->text(),
              QString::fromUtf8("\u00a9 2026 The Tindro Zevad authors - T27"));
    about->close();
    EXPECT_EQ(windows.aboutWindow(), nullptr);
    EXPECT_FALSE(windows.isOptionsWindowVisible());
    EXPECT_EQ(app.clickMode, ClickMode::RightClick);
}

}  // namespace
}  // namespace tz::test
