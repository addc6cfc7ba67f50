#include <QPushButton>
#include <QScrollBar>

#include "gui/widgets/ClickableLabel.h"
#include "gui/widgets/TriStateCheckBox.h"
#include "tests/widget/WindowManagerFixture.h"

namespace tz {
namespace {

class OptionsWindowTest : public test::WindowManagerTest {
  protected:
    // Opens the options window as the bar's options button does.
    OptionsWindow& open() {
        bar->runButtonCommand(ClickMode::Options);
        return madeOptionsWindow();
    }
};

TEST_F(OptionsWindowTest, LoadCopiesTheSettingsAndShowsARefusedValueBesideTheBar) {
    start("15\r\n7\r\n1\r\nEnglish.lng\r\n2\r\n1\r\n0\r\n4\r\n");
    OptionsWindow& o = open();
    EXPECT_TRUE(o.isVisible());
    EXPECT_EQ(o.toleranceSlider->value(), 0);  // 15 is outside 0..10: refused
    EXPECT_EQ(o.toleranceValueLabel->text(), "15");
    EXPECT_EQ(o.delaySlider->value(), 7);
    EXPECT_EQ(o.delayValueLabel->text(), "7");
    EXPECT_EQ(OptionsWindow::checkValue(o.startAtLogonBox), 1);
    EXPECT_EQ(OptionsWindow::checkValue(o.soundBox), 2);
    EXPECT_EQ(OptionsWindow::checkValue(o.middleButtonBox), 1);
    EXPECT_EQ(OptionsWindow::checkValue(o.rightEdgeBox), 0);
    EXPECT_EQ(o.productTitleLabel->text(), "Tindro Zevad Free 1.8.1");

    o.accept();
    EXPECT_EQ(app.settings.tolerance, 0);
    EXPECT_EQ(settingsLine(1), "0");
}

TEST_F(OptionsWindowTest, FirstRunShowsAndSavesTheDefaultsInForce) {
    start("");  // made hidden at start-up, before the defaults were given
    OptionsWindow& o = open();
    EXPECT_EQ(o.toleranceSlider->value(), 2);
    EXPECT_EQ(o.toleranceValueLabel->text(), "2");
    EXPECT_EQ(o.delaySlider->value(), 5);
    EXPECT_EQ(o.delayValueLabel->text(), "5");
    o.accept();
    EXPECT_EQ(settingsLine(1), "2");
    EXPECT_EQ(settingsLine(2), "5");
}

TEST_F(OptionsWindowTest, OkSavesWithTheStartModeUpdatesTheEntryAndRefitsTheBar) {
    start("2\r\n5\r\n0\r\nEnglish.lng\r\n0\r\n0\r\n0\r\n3\r\n");
    bar->selectButton(5);  // saved at once as line 8
    EXPECT_EQ(settingsLine(8), "5");
    OptionsWindow& o = open();
    o.delaySlider->triggerAction(QAbstractSlider::SliderSingleStepAdd);  // the lower arrow
    EXPECT_EQ(o.delayValueLabel->text(), "6");
    o.toggleStartAtLogon();  // start at logon
    o.toggleMiddleButton();  // middle-click button
    fake.pointer.at = {500, 500};
    for (int tick = 0; tick < 3; ++tick) {  // a move, then two resting ticks
        bar->engine().tick();
    }
    ASSERT_GT(bar->engine().state().clickTicks, 0);
    ASSERT_GT(bar->engine().state().barTicks, 0);
    o.accept();

    EXPECT_EQ(dir.read(kSettingsFileName), "2\r\n6\r\n1\r\nEnglish.lng\r\n0\r\n1\r\n0\r\n3\r\n");
    EXPECT_EQ(fake.startupEntry.entry, dir.path() + "/tindro-zevad");
    EXPECT_TRUE(bar->isButtonVisible(6));
    EXPECT_EQ(bar->buttonTopTwips(7), 5130);
    EXPECT_EQ(bar->buttonTopTwips(8), 5610);
    EXPECT_EQ(bar->heightTwips(), 6165);
    EXPECT_EQ(bar->engine().state().clickTicks, 0);
    EXPECT_EQ(bar->engine().state().barTicks, 0);
    EXPECT_FALSE((windows.optionsWindow() != nullptr));

    // And back: without the button, 7 and 8 move up by its picture's height.
    OptionsWindow& again = open();
    again.toggleMiddleButton();
    again.toggleStartAtLogon();
    again.accept();
    EXPECT_FALSE(bar->isButtonVisible(6));
    EXPECT_EQ(bar->buttonTopTwips(7), 4380);
    EXPECT_EQ(bar->buttonTopTwips(8), 4860);
    EXPECT_FALSE(fake.startupEntry.entry.has_value());
}

TEST_F(OptionsWindowTest, CancelWritesNothingAndGivesBackTheSavedMode) {
    start("2\r\n5\r\n0\r\nEnglish.lng\r\n0\r\n0\r\n0\r\n3\r\n");
    const std::string before = dir.read(kSettingsFileName);
    OptionsWindow& o = open();
    o.toggleSound();
    o.toleranceSlider->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    o.reject();
    EXPECT_EQ(dir.read(kSettingsFileName), before);
    EXPECT_EQ(app.settings.soundOn, 0);
    EXPECT_EQ(fake.startupEntry.writes + fake.startupEntry.removals, 0);
    // The window created at start-up saved 3.
    EXPECT_EQ(app.clickMode, ClickMode::LeftClick);
    EXPECT_FALSE((windows.optionsWindow() != nullptr));
}

TEST_F(OptionsWindowTest, LabelsToggleTheirBoxesExceptTheRightEdgeOne) {
    start();
    OptionsWindow& o = open();
    o.toggleStartAtLogon();
    o.toggleStartAtLogon();
    EXPECT_EQ(OptionsWindow::checkValue(o.startAtLogonBox), 0);
    OptionsWindow::setCheckValue(o.soundBox, 2);
    o.toggleSound();  // a greyed box becomes set
    EXPECT_EQ(OptionsWindow::checkValue(o.soundBox), 1);
    o.rightEdgeLabel->onClick ? o.rightEdgeLabel->onClick() : void();
    EXPECT_EQ(OptionsWindow::checkValue(o.rightEdgeBox), 0);
    o.rightEdgeBox->click();
    o.rightEdgeBox->click();
    o.rightEdgeBox->click();
    EXPECT_EQ(OptionsWindow::checkValue(o.rightEdgeBox), 1) << "a click never makes the box greyed";
}

TEST_F(OptionsWindowTest, ScrollBarsRefuseValuesOutsideTheirRangeAndStopAtTheEnds) {
    start("2\r\n2\r\n0\r\nEnglish.lng\r\n0\r\n0\r\n0\r\n3\r\n");
    OptionsWindow& o = open();
    o.delaySlider->triggerAction(QAbstractSlider::SliderSingleStepSub);  // upper arrow at 2
    EXPECT_EQ(o.delaySlider->value(), 2);
    OptionsWindow::setScrollValue(o.delaySlider, 25);
    EXPECT_EQ(o.delaySlider->value(), 2);
    OptionsWindow::setScrollValue(o.delaySlider, 20);
    o.delaySlider->triggerAction(QAbstractSlider::SliderSingleStepAdd);  // lower arrow at 20
    EXPECT_EQ(o.delayValueLabel->text(), "20");
}

TEST_F(OptionsWindowTest, PointerOverTheSurfaceForcesLeftClickAndLinksOpenTheirTargets) {
    start();
    OptionsWindow& o = open();
    bar->pauseClicking();
    EXPECT_EQ(app.clickMode, ClickMode::Pause);
    o.forceLeftClick();
    EXPECT_EQ(app.clickMode, ClickMode::LeftClick);

    o.openProductPage();
    o.openLanguagesPage();
    o.openDonationPage();
    ASSERT_EQ(fake.shell.opened.size(), 3u);
    EXPECT_NE(fake.shell.opened[0].find("tindro-mouse.html"), std::string::npos);
    EXPECT_NE(fake.shell.opened[1].find("tindro-mouse-languages.html"), std::string::npos);
    EXPECT_NE(fake.shell.opened[2].find("donazioni--donation.html"), std::string::npos);

    fake.shell.desktop = "XFCE";
    fake.shell.startSucceeds = false;  // nothing installed: every tool is tried, silently
    o.openMouseSettings();
    ASSERT_FALSE(fake.shell.started.empty());
    EXPECT_EQ(fake.shell.started.front(), std::vector<std::string>{"xfce4-mouse-settings"});
}

TEST_F(OptionsWindowTest, EnterConfirms) {
    start();
    OptionsWindow& o = open();
    EXPECT_TRUE(o.okButton->autoDefault());
    EXPECT_EQ(o.focusWidget(), o.okButton);
}

}  // namespace
}  // namespace tz
