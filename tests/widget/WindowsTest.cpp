// The options, exit and about windows.
#include <QAccessible>
#include <QKeyEvent>
#include <QTextDocumentFragment>
#include <QWindow>

#include "tests/widget/WindowsFixture.h"

namespace tz::test {
namespace {

// The options window's values as shown: the two scroll bars with their numbers, then the four boxes
// in Qt's states (0 clear, 1 greyed, 2 set).
std::string shownValues(OptionsWindow& o) {
    std::string shown;
    for (const char* name :
         {"toleranceSlider", "toleranceValueLabel", "delaySlider", "delayValueLabel",
          "startAtLogonBox", "soundBox", "middleButtonBox", "rightEdgeBox"}) {
        QWidget* w = control(o, name);
        if (auto* box = qobject_cast<QCheckBox*>(w)) {
            shown += std::to_string(box->checkState());
        } else if (auto* bar = qobject_cast<QScrollBar*>(w)) {
            shown += std::to_string(bar->value()) + " ";
        } else {
            shown += qobject_cast<QLabel*>(w)->text().toStdString() + " ";
        }
    }
    return shown;
}

// The values from the file (one refused by its scroll bar, whose number still shows it), or a first
// run's defaults given after start-up made the window. The sound label sets a greyed box, the right
// edge's toggles nothing, a click never greys a box, and a number follows its scroll bar. Line 8 is
// the kind chosen, left click on a first run (never the exit button lit at its start).
struct OptionsCase {
    std::string file, shown, afterClicks, savedByOk;
    friend void PrintTo(const OptionsCase& c, std::ostream* os) {
        *os << ::testing::PrintToString(c.file);
    }
};
class OptionsValuesTest : public WindowsTest, public ::testing::WithParamInterface<OptionsCase> {};

TEST_P(OptionsValuesTest, AreShownAndOkSavesThemAsShown) {
    start(GetParam().file);
    OptionsWindow& o = openOptions();
    EXPECT_EQ(o.focusWidget(), control(o, "okButton"));  // Enter confirms
    EXPECT_EQ(shownValues(o), GetParam().shown);
    EXPECT_EQ(control<QLabel>(o, "productTitleLabel")->text(), "Tindro Zevad Free 1.8.1");
    for (const char* name : {"soundLabel", "rightEdgeLabel", "rightEdgeBox"})
        click(control(o, name));
    control<QScrollBar>(o, "toleranceSlider")->triggerAction(QScrollBar::SliderSingleStepAdd);
    EXPECT_EQ(shownValues(o), GetParam().afterClicks);
    click(control(o, "okButton"));
    EXPECT_EQ(dir.read(kSettingsFileName), GetParam().savedByOk);
}

INSTANTIATE_TEST_SUITE_P(
    Files, OptionsValuesTest,
    ::testing::Values(OptionsCase{"15\r\n7\r\n1\r\nEnglish.lng\r\n2\r\n1\r\n0\r\n4\r\n",
                                  "0 15 7 7 2120", "1 1 7 7 2222",
                                  "1\r\n7\r\n1\r\nEnglish.lng\r\n1\r\n1\r\n1\r\n4\r\n"},
                      OptionsCase{"", "2 2 5 5 0000", "3 3 5 5 0202",
                                  "3\r\n5\r\n0\r\nEnglish.lng\r\n1\r\n0\r\n1\r\n3\r\n"}));

TEST_F(WindowsTest, CancelWritesNothingAndOkSavesTheChosenKindUpdatesTheEntryAndRefitsTheBar) {
    start();
    EXPECT_FALSE(windows.isOptionsWindowVisible() || windows.isExitWindowVisible());
    ASSERT_NE(windows.exitWindow(), nullptr);  // made at start-up
    bar->selectButton(5);                      // saved at once as the next start's mode
    const std::string before = dir.read(kSettingsFileName);
    for (const char* name : {"soundLabel", "startAtLogonLabel", "cancelButton"})
        click(control(openOptions(), name));
    EXPECT_EQ(windows.optionsWindow(), nullptr);
    EXPECT_EQ(dir.read(kSettingsFileName), before);
    EXPECT_EQ(app.settings.soundOn + fake.startupEntry.writes + fake.startupEntry.removals, 0);
    OptionsWindow& o = openOptions();
    click(control(o, "startAtLogonLabel"));
    click(control(o, "middleButtonLabel"));
    rest({500, 500}, 3);  // a move, then two resting ticks
    ASSERT_GT(bar->engine().state().clickTicks + bar->engine().state().barTicks, 0);
    click(control(o, "okButton"));
    EXPECT_EQ(dir.read(kSettingsFileName), "2\r\n5\r\n1\r\nEnglish.lng\r\n0\r\n1\r\n0\r\n5\r\n");
    EXPECT_EQ(fake.startupEntry.entry, dir.path() + "/tindro-zevad");
    EXPECT_EQ(bar->engine().state().clickTicks + bar->engine().state().barTicks, 0);
    // The middle-click button shows and the buttons below it move down; then back.
    EXPECT_TRUE(bar->isButtonVisible(6));
    EXPECT_EQ(std::pair(bar->buttonTopTwips(8), bar->heightTwips()), std::pair(5610.0, 6165.0));
    for (const char* name : {"middleButtonLabel", "startAtLogonLabel", "okButton"})
        click(control(openOptions(), name));
    EXPECT_FALSE(bar->isButtonVisible(6));
    EXPECT_EQ(std::pair(bar->buttonTopTwips(8), bar->heightTwips()), std::pair(4860.0, 5415.0));
    EXPECT_FALSE(fake.startupEntry.entry.has_value());
}

TEST_F(WindowsTest, ExitWindowShowsTheFaceWithoutABoxAndNoWindowTrapsTheDweller) {
    start();
    ExitWindow& exit = *windows.exitWindow();
    EXPECT_EQ(exit.geometry(), QRect(184, 250, 361, 149));
    QWidget* face = control(exit, "face");
    EXPECT_TRUE(face->isHidden());
    EXPECT_EQ(control(exit, "transparentSpot")->geometry(), face->geometry());
    // A magenta corner of the face shows the background picture instead.
    EXPECT_NE(exit.grab().toImage().pixel(face->pos()), qRgb(255, 0, 255));
    EXPECT_EQ(exit.focusWidget(), control(exit, "yesButton"));

    // A dweller who comes down over a window in a mode that never clicks must get the left click
    // back anywhere but on a control, or is trapped there.
    bar->runButtonCommand(ClickMode::Exit);
    bar->runButtonCommand(ClickMode::Options);
    for (QWidget* window : {allWindows()[2], allWindows()[1]}) {
        ASSERT_TRUE(window->isVisible());
        for (int y = 1; y < window->height(); y += 6) {
            for (int x = 1; x < window->width(); x += 6) {
                // Qt gives a move to the child under the pointer, or to the window.
                QWidget* under = window->childAt(x, y);
                if (qobject_cast<QAbstractButton*>(under) || qobject_cast<QScrollBar*>(under))
                    continue;
                QWidget* target = under != nullptr ? under : window;
                app.clickMode = ClickMode::Pause;
                mouse(target, QEvent::MouseMove, target->mapFrom(window, QPointF(x, y)));
                ASSERT_EQ(app.clickMode, ClickMode::LeftClick)
                    << target->objectName().toStdString() << " at " << x << "," << y;
            }
        }
    }
}

// Closed by its close box, by Esc or by its close control (clicked as a rest clicks it), the about
// window gives the options window back, with the left click in force again.
TEST_F(WindowsTest, AboutWindowTakesTheOptionsWindowsPlaceAndGivesItBack) {
    start();
    for (int way = 0; way < 3; ++way) {
        OptionsWindow& o = openOptions();
        click(control(o, "aboutButton"));
        AboutWindow* about = windows.aboutWindow();
        ASSERT_TRUE(about != nullptr && about->isVisible() && !o.isVisible());
        EXPECT_LE((about->geometry().center() - o.geometry().center()).manhattanLength(), 4);
        EXPECT_EQ(control<QLabel>(*about, "versionLabel")->text(), "Rel. 1.8.1");
        // Each opening starts afresh: the suffix is appended once.
        EXPECT_EQ(control<QLabel>(*about, "copyrightLabel")->text(),
                  QString::fromUtf8("\u00a9 2026 The Tindro Zevad authors - T27"));
        // The credits start below the window and rise.
        QWidget* credits = control(*about, "creditsPanel");
        EXPECT_EQ(credits->y(), qRound(2200 / 15.0));
        EXPECT_LT(waitUntil([credits] { return credits->y() < qRound(2200 / 15.0); }), 2000);
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        way == 0   ? void(about->close())
        : way == 1 ? void(QApplication::sendEvent(about, &esc))
                   : click(control(*about, "closeButton"));
        EXPECT_TRUE(windows.aboutWindow() == nullptr && o.isVisible()) << way;
        EXPECT_EQ(app.clickMode, ClickMode::LeftClick);
        click(control(o, "cancelButton"));
    }
}

// What a screen reader sees: every control that acts has a name and a press action, and the bar's
// click kinds say which one is in force.
TEST_F(WindowsTest, AScreenReaderNamesAndPressesEveryControlThatActs) {
    start();
    const auto press = [](QWidget* widget) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(widget);
        ASSERT_TRUE(a != nullptr && a->actionInterface() != nullptr);
        ASSERT_TRUE(
            a->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()))
            << a->text(QAccessible::Name).toStdString();
        a->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    };
    const auto checked = [this](int index) {
        return QAccessible::queryAccessibleInterface(bar->button(index))->state().checked;
    };
    const auto role = [](QWidget* w) { return QAccessible::queryAccessibleInterface(w)->role(); };
    // The other names in every language are read in WindowTextsTest; the scroll button's text is
    // newer than the file's 33: its English one.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(bar->button(9))->text(QAccessible::Name),
              "Scroll");
    for (int i = 0; i < ClickBar::kButtonCount; ++i) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(bar->button(i));
        const bool kind = (i >= 1 && i <= 6) || i == 9;
        EXPECT_EQ(a->role(), kind ? QAccessible::RadioButton : QAccessible::Button) << i;
        EXPECT_EQ(a->state().checkable, kind) << i;
        EXPECT_EQ(checked(i), i == 3) << i;
    }
    press(bar->button(5));  // chooses right click, as moving onto it does
    EXPECT_EQ(app.clickMode, ClickMode::RightClick);
    EXPECT_TRUE(checked(5) && !checked(3));
    press(bar->button(7));  // runs the options command
    OptionsWindow& o = options();
    EXPECT_TRUE(o.isVisible());
    for (const char* link : {"mouseSettingsLink", "languageLink", "addLanguageLink",
                             "productPageLink", "moreOptionsLink"}) {
        EXPECT_EQ(role(control(o, link)), QAccessible::Link) << link;
    }
    press(control(o, "addLanguageLink"));
    press(control(o, "donateButton"));
    press(control(o, "aboutButton"));
    ASSERT_TRUE(windows.aboutWindow() != nullptr && windows.aboutWindow()->isVisible());
    QWidget* home = control(*windows.aboutWindow(), "homePageLink");
    EXPECT_EQ(role(home), QAccessible::Link);
    press(home);
    EXPECT_EQ(fake.shell.opened.size(), 3u);
}

TEST_F(WindowsTest, MarkupInTheTextsIsShownAsWritten) {
    const std::string markup =
        "<table><tr><td><table><tr><td><img src=\"x.png\" width=\"3000\">"
        "<span style=\"font-size:200pt\">[*]big</span></td></tr></table></td></tr></table>";
    start(kSettings, std::vector<std::string>(33, markup));
    click(control(openOptions(), "aboutButton"));  // the about window as well
    const QString literal = QString::fromStdString(markup);
    for (QWidget* window : allWindows()) {
        for (QLabel* label : window->findChildren<QLabel*>())
            EXPECT_TRUE(!label->text().contains(literal) || label->textFormat() == Qt::PlainText);
        // Qt would show a tooltip that looks like markup as rich text.
        for (QWidget* w : window->findChildren<QWidget*>()) {
            const QString tip = w->toolTip();
            const QString shown =
                Qt::mightBeRichText(tip) ? QTextDocumentFragment::fromHtml(tip).toPlainText() : tip;
            // The scroll button's text is newer than the file's: English.
            EXPECT_TRUE(tip.isEmpty() || shown.startsWith(literal) || w == bar->button(9))
                << tip.toStdString();
        }
    }
    // Window titles keep "[*]", which Qt would otherwise drop.
    for (QWidget* window : {allWindows()[1], allWindows()[3]}) {
        window->show();
        EXPECT_TRUE(window->windowHandle()->title().contains(QStringLiteral("[*]big")));
    }
}

}  // namespace
}  // namespace tz::test
