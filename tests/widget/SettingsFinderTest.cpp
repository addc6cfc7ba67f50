// "Find my settings": opened from the options window or the command line, sampled on the dwell
// engine's tick, applied or cancelled by resting.
#include "tests/widget/WindowsFixture.h"

namespace tz::test {
namespace {

using SettingsFinderTest = WindowsTest;

QString text(QWidget& window, const char* name) {
    return control<QLabel>(window, name)->text();
}

TEST_F(SettingsFinderTest, FromTheOptionsLinkSampledOnTheAwakeTickAndApplied) {
    start();  // tolerance 2, delay 5
    for (bar->startSlide(); bar->slideTimer().isActive();) bar->onSlideTick();
    OptionsWindow& options = openOptions();
    click(control(options, "soundBox"));  // not saved: stays as the user set it
    click(control(options, "findSettingsLink"));
    SettingsFinderWindow* finder = windows.settingsFinder();
    ASSERT_NE(finder, nullptr);
    EXPECT_TRUE(finder->isFullScreen());
    EXPECT_FALSE(options.isVisible());
    EXPECT_EQ(app.clickMode, ClickMode::LeftClick);

    // Held still past the delay, the first target clicks, and the timer that would then sleep keeps
    // ticking for the samples.
    rest(onTarget(0), 10);
    EXPECT_TRUE(bar->dwellTimer().isActive()) << "asleep while sampling";
    EXPECT_EQ(finder->currentTarget(), 0);
    rest(onTarget(0), SettingsFinderWindow::kHoldTicks - 10);
    EXPECT_EQ(finder->currentTarget(), 1);
    // Steps of 8 pixels need tolerance 7; pauses of 7 resting ticks a delay of 9.
    findSettingsByResting(4, 7, 1);
    ASSERT_FALSE(finder->sampling());
    EXPECT_EQ(text(*finder, "toleranceLine"), QString::fromUtf8("T14:  2  \u2192  7"));
    EXPECT_EQ(text(*finder, "toleranceEffect").toStdString(),
              app.texts[TextId::LargerToleranceEffect]);
    EXPECT_EQ(text(*finder, "delayLine"), QString::fromUtf8("T15:  5  \u2192  9"));
    EXPECT_EQ(text(*finder, "delayEffect").toStdString(), app.texts[TextId::LongerDelayEffect]);

    click(control(*finder, "applyButton"));
    EXPECT_EQ(dir.read(kSettingsFileName), "7\r\n9\r\n0\r\nEnglish.lng\r\n0\r\n0\r\n0\r\n3\r\n");
    EXPECT_EQ(windows.settingsFinder(), nullptr);
    EXPECT_TRUE(options.isVisible());
    EXPECT_EQ(text(options, "toleranceValueLabel"), "7");
    EXPECT_EQ(text(options, "delayValueLabel"), "9");
    EXPECT_TRUE(control<QCheckBox>(options, "soundBox")->isChecked());
    EXPECT_EQ(app.clickMode, ClickMode::LeftClick);
}

TEST_F(SettingsFinderTest, NoHoldsSuggestNothingAndCancelLeavesAllAsItWas) {
    start();
    bar->selectButton(static_cast<std::int16_t>(ClickMode::RightClick));
    const std::string saved = dir.read(kSettingsFileName);
    windows.openSettingsFinder();  // as the command line opens it
    SettingsFinderWindow& finder = *windows.settingsFinder();
    EXPECT_EQ(app.clickMode, ClickMode::LeftClick);
    // Never onto the first target: the sampling ends without a hold.
    for (int tick = 0; tick < SettingsFinderWindow::kTargetTicks; ++tick)
        rest(onTarget(0, 200 + tick % 20, 0), 1);
    EXPECT_FALSE(finder.sampling());
    EXPECT_FALSE(control(finder, "tooFewLabel")->isHidden());
    EXPECT_TRUE(control(finder, "applyButton")->isHidden());
    click(control(finder, "cancelButton"));
    EXPECT_EQ(windows.settingsFinder(), nullptr);
    EXPECT_EQ(dir.read(kSettingsFileName), saved);
    EXPECT_EQ(app.settings.tolerance, 2);
    EXPECT_EQ(app.clickMode, ClickMode::RightClick);
}

}  // namespace
}  // namespace tz::test
