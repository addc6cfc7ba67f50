// The bar: start-up, its place, the slide, the dwell timer and its buttons.
#include "tests/widget/WindowsFixture.h"

namespace tz::test {
namespace {

using ClickBarTest = WindowsTest;

TEST_F(ClickBarTest, TheStartModeIsInForceAndLit) {
    for (const auto& [mode, lit] : {std::pair{"", 0}, {"5", 5}, {"12", 12}, {"6", 6}}) {
        start(*mode ? "7\r\n4\r\n0\r\nEnglish.lng\r\n0\r\n0\r\n0\r\n" + std::string(mode) + "\r\n"
                    : "");  // a missing file: the defaults, and the exit button
        EXPECT_EQ(app.clickMode, static_cast<ClickMode>(lit)) << mode;
        for (int i = 0; i < ClickBar::kButtonCount; ++i)
            EXPECT_EQ(bar->isButtonLit(i), i == lit) << mode << " " << i;
    }
}

TEST_F(ClickBarTest, TheScrollButtonFollowsTheLastClickKindAndItsKindIsSavedAndRestored) {
    constexpr int kScroll = 9;
    const auto lower = [this] { return std::pair(bar->buttonTopTwips(8), bar->heightTwips()); };
    for (const char* middle : {"0", "1"}) {
        const std::string settings =
            "2\r\n5\r\n0\r\nEnglish.lng\r\n0\r\n" + std::string(middle) + "\r\n0\r\n";
        app.extras.scrollButton = false;
        start(settings + "5\r\n");
        EXPECT_FALSE(bar->isButtonVisible(kScroll));
        // Turned on: right after the last click kind, the buttons below it lower by its height and
        // the bar that much taller.
        app.extras.scrollButton = true;
        bar->applyExtras();
        const int last = *middle == '1' ? 6 : 5;
        EXPECT_TRUE(bar->isButtonVisible(kScroll));
        EXPECT_EQ(bar->buttonTopTwips(kScroll),
                  bar->buttonTopTwips(last) + bar->buttonHeightTwips(last));
        const auto withScroll = lower();
        // Chosen like the other kinds: in force, lit, saved, restored.
        bar->selectButton(kScroll);
        EXPECT_TRUE(app.clickMode == ClickMode::Scroll && bar->isButtonLit(kScroll));
        EXPECT_EQ(dir.read(kSettingsFileName), settings + "9\r\n");
        start("");
        EXPECT_TRUE(app.clickMode == ClickMode::Scroll && bar->isButtonLit(kScroll));
        // Turned off while in force: left click, as at a start without the button.
        app.extras.scrollButton = false;
        bar->applyExtras();
        EXPECT_FALSE(bar->isButtonVisible(kScroll));
        EXPECT_EQ(lower(), std::pair(withScroll.first - 750, withScroll.second - 750)) << middle;
        EXPECT_TRUE(app.clickMode == ClickMode::LeftClick && bar->isButtonLit(3));
        start(settings + "9\r\n");
        EXPECT_EQ(app.clickMode, ClickMode::LeftClick);
    }
}

TEST_F(ClickBarTest, SlideEndsOnTheFirstTickPastTheEdgeAndTheDwellTimerStarts) {
    start();
    int ticks = 0;
    for (bar->startSlide(); bar->slideTimer().isActive(); ++ticks) bar->onSlideTick();
    EXPECT_EQ(ticks, 35);  // 20 twips a tick past the bar's 675
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(bar->dwellTimer().interval(), 100);

    // After a click the timer sleeps until the pointer moves, then ticks on its grid.
    rest({500, 500}, 7);
    EXPECT_EQ(fake.injector.events.size(), 2u);
    EXPECT_FALSE(bar->dwellTimer().isActive()) << "asleep";
    ASSERT_TRUE(fake.motionWatch.pending);
    fake.pointer.at = {600, 600};
    fake.motionWatch.move();
    EXPECT_LE(waitUntil([this] { return bar->dwellTimer().isActive(); }), 150);
}

TEST_F(ClickBarTest, HoverLightsOneButtonSoundsOnceAndSavesOnlyClickKinds) {
    start("2\r\n5\r\n0\r\nEnglish.lng\r\n1\r\n0\r\n0\r\n3\r\n");
    const auto sounds = [this] { return fake.sound.played.size() + fake.sound.beeps; };
    EXPECT_EQ(sounds(), 1u) << "start-up lights the start mode's button with a sound";
    bar->selectButton(5);
    bar->selectButton(5);
    EXPECT_TRUE(bar->isButtonLit(5) && !bar->isButtonLit(3) && sounds() == 2u);
    EXPECT_EQ(app.clickMode, ClickMode::RightClick);
    EXPECT_EQ(dir.read(kSettingsFileName), "2\r\n5\r\n0\r\nEnglish.lng\r\n1\r\n0\r\n0\r\n5\r\n");
    // A click kind is written even over a lit button; a command button writes nothing.
    for (const auto& [button, written] : {std::pair{5, true}, {7, false}}) {
        std::filesystem::remove(dir.file(kSettingsFileName));
        bar->selectButton(button);
        EXPECT_EQ(std::filesystem::exists(dir.file(kSettingsFileName)), written) << button;
    }
    EXPECT_EQ(app.clickMode, ClickMode::Options);
    openOptions();  // while a window shows, the light follows but the mode stays
    bar->selectButton(4);
    EXPECT_TRUE(bar->isButtonLit(4));
    EXPECT_EQ(app.clickMode, ClickMode::LeftClick);
}

TEST_F(ClickBarTest, CommandsSetLeftClickRestartTheCountAndOpenTheirTarget) {
    start("2\r\n5\r\n0\r\nitaliano.lng\r\n0\r\n0\r\n0\r\n5\r\n");
    int x = 500;
    for (ClickMode button :
         {ClickMode::Help, ClickMode::Options, ClickMode::Exit, ClickMode::Drag}) {
        app.clickMode = ClickMode::RightClick;
        rest({x += 50, 500}, 3);  // a move, then two resting ticks
        ASSERT_GT(bar->engine().state().clickTicks, 0);
        bar->runButtonCommand(button);
        const bool command = button != ClickMode::Drag;  // click kinds act on movement alone
        EXPECT_EQ(app.clickMode, command ? ClickMode::LeftClick : ClickMode::RightClick);
        EXPECT_EQ(bar->engine().state().clickTicks == 0, command);
    }
    EXPECT_EQ(fake.shell.opened, std::vector<std::string>{dir.path() + "/help-it.html"});
    EXPECT_TRUE(windows.isOptionsWindowVisible() && windows.isExitWindowVisible());
}

TEST_F(ClickBarTest, WhileTheUpdateQuestionIsOpenTheDwellTimerOnlyClicks) {
    fake.http.bodies[kVersionUrl] = "999999999";
    int asked = 0;
    whileAsked = [&] {
        ++asked;
        EXPECT_TRUE(bar->dwellTimer().isActive());
        // A long rest at the left edge, beside where the bar will be, with the exit button's mode
        // in force: neither the bar nor its exit command.
        app.clickMode = ClickMode::Exit;
        rest({0, 400}, 40);
        EXPECT_FALSE(bar->isVisible() || windows.isExitWindowVisible());
        EXPECT_EQ(app.clickMode, ClickMode::Exit);
        app.clickMode = ClickMode::LeftClick;  // a left click still lands where the pointer rests
        rest({600, 400}, 7);
        EXPECT_EQ(fake.injector.events.size(), 2u);
    };
    start("2\r\n5\r\n0\r\nEnglish.lng\r\n0\r\n0\r\n0\r\n4\r\n");
    EXPECT_EQ(asked, 1);
    // Answered No: start-up goes on as before.
    EXPECT_FALSE(bar->dwellTimer().isActive());
    EXPECT_TRUE(app.clickMode == ClickMode::Drag && bar->isButtonLit(4));
    bar->startSlide();
    EXPECT_TRUE(bar->isVisible());
}

TEST_F(ClickBarTest, ThePauseKeyPausesAndBringsBackTheKindThatWasInForce) {
    start("2\r\n5\r\n0\r\nEnglish.lng\r\n0\r\n0\r\n0\r\n5\r\n");
    EXPECT_EQ(fake.pauseKey.key, "Pause");
    // Each press from the mode before it: the mode after it and the saved click kind.
    const std::tuple<ClickMode, ClickMode, char> presses[] = {
        {ClickMode::RightClick, ClickMode::Pause, '1'},
        {ClickMode::Pause, ClickMode::RightClick, '5'},
        {ClickMode::Options, ClickMode::Pause, '1'},  // passing: right click stays
        {ClickMode::Pause, ClickMode::RightClick, '5'}};
    for (const auto& [before, after, saved] : presses) {
        app.clickMode = before;
        fake.pauseKey.press();
        EXPECT_EQ(app.clickMode, after) << static_cast<int>(before);
        EXPECT_TRUE(bar->isButtonLit(static_cast<int>(after)));
        EXPECT_EQ(dir.read(kSettingsFileName).at(31), saved);
    }
    for (const char* key : {"F12", "taken"}) {
        app.extras.pauseKey = key;
        EXPECT_EQ(bar->applyExtras(), key == std::string("F12")) << key;
        EXPECT_EQ(fake.pauseKey.key, key == std::string("F12") ? key : "");
    }
}

TEST_F(ClickBarTest, AButtonPressedByHandCancelsTheWaitingClickWhenSoChosen) {
    for (const bool cancelOnPress : {true, false}) {
        start();
        app.extras.cancelOnPress = cancelOnPress;
        rest({500, 500}, 3);
        ASSERT_TRUE(bar->engine().pendingClick());
        fake.pressWatch.press();
        rest({500, 500}, 6);
        EXPECT_EQ(fake.injector.events.size(), cancelOnPress ? 0u : 2u) << cancelOnPress;
        fake.injector.events.clear();
    }
}

}  // namespace
}  // namespace tz::test
