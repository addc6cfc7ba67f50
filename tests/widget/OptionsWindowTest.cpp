#include <QPushButton>
#include <QScrollBar>

#include "gui/widgets/ClickableLabel.h"
#include "gui/widgets/TriStateCheckBox.h"
#include "tests/widget/WindowManagerFixture.h"

namespace tz {
namespace {

class Form3Test : public test::ProgramWindowsTest {
  protected:
    // Opens the options window as the bar's options button does.
    Form3& open() {
        bar->Image1_Click(7);
        return windows.form3();
    }
};

TEST_F(Form3Test, LoadCopiesTheSettingsAndShowsARefusedValueBesideTheBar) {
    start("15\r\n7\r\n1\r\nEnglish.lng\r\n2\r\n1\r\n0\r\n4\r\n");
    Form3& o = open();
    EXPECT_TRUE(o.isVisible());
    EXPECT_EQ(o.VScroll1->value(), 0);  // 15 is outside 0..10: refused
    EXPECT_EQ(o.Label1->text(), "15");
    EXPECT_EQ(o.VScroll2->value(), 7);
    EXPECT_EQ(o.Label2->text(), "7");
    EXPECT_EQ(Form3::checkValue(o.Check1), 1);
    EXPECT_EQ(Form3::checkValue(o.Check2), 2);
    EXPECT_EQ(Form3::checkValue(o.Check3), 1);
    EXPECT_EQ(Form3::checkValue(o.Check4), 0);
    EXPECT_EQ(o.Label8->text(), "Tindro Zevad Free 1.8.1");

    o.Command1_Click();
    EXPECT_EQ(app.settings.Tolerance, 0);
    EXPECT_EQ(settingsLine(1), "0");
}

TEST_F(Form3Test, FirstRunShowsAndSavesTheDefaultsInForce) {
    start("");  // made hidden at start-up, before the defaults were given
    Form3& o = open();
    EXPECT_EQ(o.VScroll1->value(), 2);
    EXPECT_EQ(o.Label1->text(), "2");
    EXPECT_EQ(o.VScroll2->value(), 5);
    EXPECT_EQ(o.Label2->text(), "5");
    o.Command1_Click();
    EXPECT_EQ(settingsLine(1), "2");
    EXPECT_EQ(settingsLine(2), "5");
}

TEST_F(Form3Test, OkSavesWithTheStartModeUpdatesTheEntryAndRefitsTheBar) {
    start("2\r\n5\r\n0\r\nEnglish.lng\r\n0\r\n0\r\n0\r\n3\r\n");
    bar->Image1_MouseMove(5);  // saved at once as line 8
    EXPECT_EQ(settingsLine(8), "5");
    Form3& o = open();
    o.VScroll2->triggerAction(QAbstractSlider::SliderSingleStepAdd);  // the lower arrow
    EXPECT_EQ(o.Label2->text(), "6");
    o.Label5_Click();  // start at logon
    o.Label9_Click();  // middle-click button
    app.ClickDwellTicks = 3;
    app.BarDwellTicks = 4;
    o.Command1_Click();

    EXPECT_EQ(dir.read(kSettingsFileName), "2\r\n6\r\n1\r\nEnglish.lng\r\n0\r\n1\r\n0\r\n3\r\n");
    EXPECT_EQ(fake.startupEntry.entry, dir.path() + "/tindro-zevad");
    EXPECT_TRUE(bar->isButtonVisible(6));
    EXPECT_EQ(bar->buttonTopTwips(7), 5130);
    EXPECT_EQ(bar->buttonTopTwips(8), 5610);
    EXPECT_EQ(bar->heightTwips(), 6165);
    EXPECT_EQ(app.ClickDwellTicks, 0);
    EXPECT_EQ(app.BarDwellTicks, 0);
    EXPECT_FALSE(windows.form3Exists());

    // And back: without the button, 7 and 8 move up by its picture's height.
    Form3& again = open();
    again.Label9_Click();
    again.Label5_Click();
    again.Command1_Click();
    EXPECT_FALSE(bar->isButtonVisible(6));
    EXPECT_EQ(bar->buttonTopTwips(7), 4380);
    EXPECT_EQ(bar->buttonTopTwips(8), 4860);
    EXPECT_FALSE(fake.startupEntry.entry.has_value());
}

TEST_F(Form3Test, CancelWritesNothingAndGivesBackTheSavedMode) {
    start("2\r\n5\r\n0\r\nEnglish.lng\r\n0\r\n0\r\n0\r\n3\r\n");
    const std::string before = dir.read(kSettingsFileName);
    Form3& o = open();
    o.Label7_Click();
    o.VScroll1->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    o.Command2_Click();
    EXPECT_EQ(dir.read(kSettingsFileName), before);
    EXPECT_EQ(app.settings.SoundOn, 0);
    EXPECT_EQ(fake.startupEntry.writes + fake.startupEntry.removals, 0);
    // The window created at start-up saved 3.
    EXPECT_EQ(app.ClickMode, 3);
    EXPECT_FALSE(windows.form3Exists());
}

TEST_F(Form3Test, LabelsToggleTheirBoxesExceptTheRightEdgeOne) {
    start();
    Form3& o = open();
    o.Label5_Click();
    o.Label5_Click();
    EXPECT_EQ(Form3::checkValue(o.Check1), 0);
    Form3::setCheckValue(o.Check2, 2);
    o.Label7_Click();  // a greyed box becomes set
    EXPECT_EQ(Form3::checkValue(o.Check2), 1);
    o.Label14->onClick ? o.Label14->onClick() : void();
    EXPECT_EQ(Form3::checkValue(o.Check4), 0);
    o.Check4->click();
    o.Check4->click();
    o.Check4->click();
    EXPECT_EQ(Form3::checkValue(o.Check4), 1) << "a click never makes the box greyed";
}

TEST_F(Form3Test, ScrollBarsRefuseValuesOutsideTheirRangeAndStopAtTheEnds) {
    start("2\r\n2\r\n0\r\nEnglish.lng\r\n0\r\n0\r\n0\r\n3\r\n");
    Form3& o = open();
    o.VScroll2->triggerAction(QAbstractSlider::SliderSingleStepSub);  // upper arrow at 2
    EXPECT_EQ(o.VScroll2->value(), 2);
    Form3::setScrollValue(o.VScroll2, 25);
    EXPECT_EQ(o.VScroll2->value(), 2);
    Form3::setScrollValue(o.VScroll2, 20);
    o.VScroll2->triggerAction(QAbstractSlider::SliderSingleStepAdd);  // lower arrow at 20
    EXPECT_EQ(o.Label2->text(), "20");
}

TEST_F(Form3Test, PointerOverTheSurfaceForcesLeftClickAndLinksOpenTheirTargets) {
    start();
    Form3& o = open();
    bar->Image2_MouseMove();
    EXPECT_EQ(app.ClickMode, mode::NoClick);
    o.Form_MouseMove();
    EXPECT_EQ(app.ClickMode, mode::LeftClick);

    o.Label11_Click();
    o.Label10_Click();
    o.Image1_Click();
    ASSERT_EQ(fake.shell.opened.size(), 3u);
    EXPECT_NE(fake.shell.opened[0].find("tindro-mouse.html"), std::string::npos);
    EXPECT_NE(fake.shell.opened[1].find("tindro-mouse-languages.html"), std::string::npos);
    EXPECT_NE(fake.shell.opened[2].find("donazioni--donation.html"), std::string::npos);

    fake.shell.desktop = "XFCE";
    fake.shell.startSucceeds = false;  // nothing installed: every tool is tried, silently
    o.Label13_Click();
    ASSERT_FALSE(fake.shell.started.empty());
    EXPECT_EQ(fake.shell.started.front(), std::vector<std::string>{"xfce4-mouse-settings"});
}

TEST_F(Form3Test, EnterConfirms) {
    start();
    Form3& o = open();
    EXPECT_TRUE(o.Command1->autoDefault());
    EXPECT_EQ(o.focusWidget(), o.Command1);
}

}  // namespace
}  // namespace tz
