// The click kind the user chose outlives the exit, options and about windows.
#include "tests/widget/WindowsFixture.h"

namespace tz::test {
namespace {

using ClickKindTest = WindowsTest;

// The one lit button of the bar, or -1.
int litButton(const ClickBar& bar) {
    int lit = -1;
    for (int i = 0; i < ClickBar::kButtonCount; ++i) {
        if (bar.isButtonLit(i)) {
            lit = lit == -1 ? i : -2;
        }
    }
    return lit;
}

// Every way the exit and options windows open and close, one after the other in
// one run (the windows made at start-up are the first to close): opened by a
// rest on the bar's button (lit, then its command) or from the tray (the
// command with the chosen kind in force); closed by No, OK, Cancel or the
// close box. Each close gives back the kind chosen before, lit on the bar,
// and OK saves it as the next start's kind.
TEST_F(ClickKindTest, ClosingTheExitOrOptionsWindowGivesBackTheChosenKindLit) {
    start();  // left click restored
    enum class Close { No, Ok, Cancel, CloseBox };
    const struct {
        std::int16_t chosen;
        ClickMode window;
        bool fromBar;
        Close close;
    } cases[] = {
        {2, ClickMode::Exit, true, Close::No},          {2, ClickMode::Options, true, Close::Ok},
        {2, ClickMode::Options, true, Close::Cancel},   {2, ClickMode::Exit, false, Close::No},
        {5, ClickMode::Options, false, Close::Ok},      {5, ClickMode::Exit, true, Close::CloseBox},
        {1, ClickMode::Options, true, Close::CloseBox}, {1, ClickMode::Exit, false, Close::No},
        {1, ClickMode::Options, false, Close::Cancel},  {6, ClickMode::Options, true, Close::Ok},
        {1, ClickMode::Exit, true, Close::No},
    };
    for (const auto& [chosen, window, fromBar, close] : cases) {
        const std::string label = std::to_string(chosen) + " " +
                                  std::to_string(static_cast<int>(window)) + " " +
                                  std::to_string(static_cast<int>(close));
        bar->selectButton(chosen);
        if (fromBar) {
            bar->selectButton(static_cast<std::int16_t>(window));
            bar->activateButton(window);
        } else {
            bar->runButtonCommand(window);
        }
        QWidget* shown = window == ClickMode::Exit ? static_cast<QWidget*>(windows.exitWindow())
                                                   : windows.optionsWindow();
        ASSERT_TRUE(shown != nullptr && shown->isVisible()) << label;
        EXPECT_EQ(app.clickMode, ClickMode::LeftClick) << label;
        switch (close) {
            case Close::No:
                click(control(*shown, "noButton"));
                break;
            case Close::Ok:
                click(control(*shown, "okButton"));
                break;
            case Close::Cancel:
                click(control(*shown, "cancelButton"));
                break;
            case Close::CloseBox:
                shown->close();
                break;
        }
        EXPECT_EQ(static_cast<int>(app.clickMode), chosen) << label;
        EXPECT_EQ(litButton(*bar), chosen) << label;
        EXPECT_EQ(dir.read(kSettingsFileName).substr(31), std::to_string(chosen) + "\r\n") << label;
    }
    // Paused last: the pause key brings back the kind before the pause.
    fake.pauseKey.press();
    EXPECT_EQ(app.clickMode, ClickMode::MiddleClick);
    EXPECT_EQ(litButton(*bar), 6);
}

// Only a kind the user chose comes back, never a passing command button's, and
// the left click stays while the other window still shows.
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
    EXPECT_EQ(dir.read(kSettingsFileName).substr(dir.read(kSettingsFileName).size() - 3), "2\r\n");
}

// From the tray the about window opens on its own, in the middle of the screen:
// it neither makes nor shows the options window, and a second opening while
// it shows says the rights once.
TEST_F(ClickKindTest, AboutFromTheTrayClosesBackToWhereTheUserWas) {
    start("2\r\n5\r\n0\r\nEnglish.lng\r\n0\r\n0\r\n0\r\n5\r\n");
    click(control(openOptions(), "cancelButton"));
    ASSERT_EQ(windows.optionsWindow(), nullptr);
    for (int opening = 0; opening < 2; ++opening) {
        windows.openAboutWindow();
    }
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
