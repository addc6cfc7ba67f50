#include "gui/ClickBar.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "core/settings/SettingsFile.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/unit/TestDirectory.h"

namespace tz {
namespace {

// Options and exit windows that never show; counts the calls.
class StubWindows : public SecondaryWindows, public UpdatePrompt {
  public:
    void makeOptionsWindow() override {}
    void makeExitWindow() override {}
    bool isOptionsWindowVisible() override { return optionsVisible; }
    bool isExitWindowVisible() override { return false; }
    void showOptionsWindow() override { ++optionsShown; }
    void showExitWindow() override { ++exitShown; }
    void applyTexts() override { ++textsApplied; }
    void showSettingsInForce() override {}
    int ask(const std::string&, std::uint32_t, const std::string&) override {
        if (whileAsked) {
            whileAsked();
        }
        return 7;
    }
    void openProductPage() override {}
    int textsApplied = 0;
    bool optionsVisible = false;
    int optionsShown = 0;
    int exitShown = 0;
    std::function<void()> whileAsked;
};

class ClickBarTest : public ::testing::Test {
  protected:
    void start(const std::string& settings) {
        if (!settings.empty()) {
            dir.write(kSettingsFileName, settings);
        }
        app.settingsPath = dir.file(kSettingsFileName);
        bar = std::make_unique<ClickBar>(app, fake.platform, windows, windows,
                                         "https://example/v.txt");
        bar->load();
    }

    test::TestDirectory dir;
    fake::FakePlatform fake;
    AppState app;
    StubWindows windows;
    std::unique_ptr<ClickBar> bar;
};

TEST_F(ClickBarTest, BarGeometryWithoutTheMiddleButton) {
    start("");
    EXPECT_FALSE(bar->isButtonVisible(6));
    EXPECT_EQ(bar->buttonTopTwips(7), 4350);
    EXPECT_EQ(bar->buttonTopTwips(8), 4830);
    EXPECT_EQ(bar->widthTwips(), 675);
    EXPECT_EQ(bar->heightTwips(), 5385);
    // Centred with the height from before fitting.
    EXPECT_EQ(bar->topTwips(), (1024 * 15 - 6555) / 2.0);
    EXPECT_EQ(bar->buttonHeightTwips(1), 750);
    EXPECT_EQ(bar->buttonHeightTwips(2), 780);
    // A missing file: the defaults, and the exit button selected.
    EXPECT_EQ(app.settings.tolerance, 2);
    EXPECT_EQ(app.settings.delay, 5);
    EXPECT_EQ(app.clickMode, ClickMode::Exit);
    EXPECT_TRUE(bar->isButtonLit(0));
}

TEST_F(ClickBarTest, BarGeometryWithTheMiddleButton) {
    start("7\r\n4\r\n0\r\nEnglish.lng\r\n0\r\n1\r\n0\r\n5\r\n");
    EXPECT_TRUE(bar->isButtonVisible(6));
    EXPECT_EQ(bar->buttonTopTwips(7), 5130);
    EXPECT_EQ(bar->buttonTopTwips(8), 5610);
    EXPECT_EQ(bar->heightTwips(), 6165);
    EXPECT_EQ(app.settings.tolerance, 7);  // a non-zero delay keeps the values read
    EXPECT_EQ(bar->button(8)->height(), 33);
    EXPECT_EQ(app.clickMode, ClickMode::RightClick);
}

TEST_F(ClickBarTest, PlacedCentredOnAMonitorAndNeverAboveItsTop) {
    start("");
    const double startTop = bar->topTwips();
    bar->placeBarOn({0, 0, 1280 * 15, 1024 * 15});
    EXPECT_EQ(bar->topTwips(), startTop) << "one monitor: the place of start-up";
    bar->placeBarOn({1280 * 15, 3000, 1600 * 15, 800 * 15});
    EXPECT_EQ(bar->topTwips(), 3000 + 2722.5);
    EXPECT_EQ(bar->geometry().y(), 200 + 182);
    // A monitor lower than the bar shows its top part, the exit button first.
    bar->placeBarOn({0, 0, 1280 * 15, 300 * 15});
    EXPECT_EQ(bar->topTwips(), 0);
}

TEST_F(ClickBarTest, SlideEndsOnTheFirstTickPastTheEdge) {
    start("");
    bar->startSlide();
    int moves = 0;
    while (bar->slideTimer().isActive()) {
        const double before = bar->leftTwips();
        bar->onSlideTick();
        if (bar->slideTimer().isActive()) {
            ++moves;
            EXPECT_EQ(bar->leftTwips(), before - 20);
        } else {
            EXPECT_EQ(before, -680);
        }
    }
    EXPECT_EQ(moves, 34);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(bar->leftTwips(), 0);
    EXPECT_TRUE(bar->dwellTimer().isActive());
    EXPECT_EQ(bar->dwellTimer().interval(), 100);
    EXPECT_EQ(bar->dwellTimer().timerType(), Qt::PreciseTimer);
}

TEST_F(ClickBarTest, DwellTimerSleepsAfterAClickUntilThePointerMoves) {
    start("");
    bar->startSlide();
    while (bar->slideTimer().isActive()) {
        bar->onSlideTick();
    }
    app.clickMode = ClickMode::LeftClick;
    fake.pointer.at = {500, 500};
    for (int tick = 0; tick < 7 && bar->dwellTimer().isActive(); ++tick) {
        bar->onDwellTick();
    }
    EXPECT_EQ(fake.injector.events.size(), 2u);
    EXPECT_FALSE(bar->dwellTimer().isActive()) << "the timer samples a pointer that stays put";
    ASSERT_TRUE(fake.motionWatch.pending);

    fake.pointer.at = {600, 600};
    fake.motionWatch.move();
    QElapsedTimer waited;
    waited.start();
    while (!bar->dwellTimer().isActive() && waited.elapsed() < 1000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    EXPECT_TRUE(bar->dwellTimer().isActive()) << "no tick after the pointer moved";
    EXPECT_LE(waited.elapsed(), 150) << "the tick did not come on the 100 ms grid";
}

TEST_F(ClickBarTest, HoverLightsOneButtonSoundsOnceAndSavesClickKinds) {
    start("2\r\n5\r\n0\r\nEnglish.lng\r\n1\r\n0\r\n0\r\n3\r\n");
    const auto hoverSounds = fake.sound.played.size() + fake.sound.beeps;
    EXPECT_EQ(hoverSounds, 1u) << "start-up lights the start mode's button with a sound";

    bar->selectButton(5);
    bar->selectButton(5);
    EXPECT_TRUE(bar->isButtonLit(5));
    EXPECT_FALSE(bar->isButtonLit(3));
    EXPECT_EQ(fake.sound.played.size() + fake.sound.beeps, 2u);
    EXPECT_EQ(app.clickMode, ClickMode::RightClick);
    EXPECT_EQ(dir.read(kSettingsFileName), "2\r\n5\r\n0\r\nEnglish.lng\r\n1\r\n0\r\n0\r\n5\r\n");
    EXPECT_EQ(app.settings.startMode, 3) << "the mode in memory read at start-up stays";

    // Command buttons select but write nothing.
    std::filesystem::remove(dir.file(kSettingsFileName));
    bar->selectButton(7);
    EXPECT_EQ(app.clickMode, ClickMode::Options);
    EXPECT_FALSE(std::filesystem::exists(dir.file(kSettingsFileName)));
    // A click-kind move writes the file again, even for a lit button.
    bar->selectButton(2);
    std::filesystem::remove(dir.file(kSettingsFileName));
    bar->selectButton(2);
    EXPECT_TRUE(std::filesystem::exists(dir.file(kSettingsFileName)));

    // While a window is shown the highlight follows but the mode stays.
    windows.optionsVisible = true;
    app.clickMode = ClickMode::LeftClick;
    bar->selectButton(4);
    EXPECT_TRUE(bar->isButtonLit(4));
    EXPECT_EQ(app.clickMode, ClickMode::LeftClick);
}

TEST_F(ClickBarTest, BackgroundPausesAndKeepsTheHighlight) {
    start("2\r\n5\r\n0\r\nEnglish.lng\r\n0\r\n0\r\n0\r\n6\r\n");
    bar->pauseClicking();
    EXPECT_EQ(app.clickMode, ClickMode::Pause);
    EXPECT_TRUE(bar->isButtonLit(6));
}

TEST_F(ClickBarTest, StartModeOutsideTheButtonsLightsNone) {
    start("2\r\n5\r\n0\r\nEnglish.lng\r\n0\r\n0\r\n0\r\n12\r\n");
    EXPECT_EQ(app.clickMode, ClickMode{12});
    for (int i = 0; i < ClickBar::kButtonCount; ++i) {
        EXPECT_FALSE(bar->isButtonLit(i));
    }
}

TEST_F(ClickBarTest, CommandsSetLeftClickAndOpenTheirTarget) {
    start("2\r\n5\r\n0\r\nitaliano.lng\r\n0\r\n0\r\n0\r\n3\r\n");
    fake.pointer.at = {500, 500};
    for (int tick = 0; tick < 3; ++tick) {  // a move, then two resting ticks
        bar->engine().tick();
    }
    ASSERT_GT(bar->engine().state().clickTicks, 0);
    bar->runButtonCommand(ClickMode::Help);
    EXPECT_EQ(fake.shell.opened, std::vector<std::string>{"/opt/tz/help-it.html"});
    EXPECT_EQ(app.clickMode, ClickMode::LeftClick);
    EXPECT_EQ(bar->engine().state().clickTicks, 0);
    bar->runButtonCommand(ClickMode::Options);
    bar->runButtonCommand(ClickMode::Exit);
    EXPECT_EQ(windows.optionsShown, 1);
    EXPECT_EQ(windows.exitShown, 1);
    app.clickMode = ClickMode::RightClick;
    bar->runButtonCommand(ClickMode::RightClick);
    EXPECT_EQ(app.clickMode, ClickMode::RightClick);
}

TEST_F(ClickBarTest, WhileTheUpdateQuestionIsOpenTheDwellTimerOnlyClicks) {
    fake.http.bodies["https://example/v.txt"] = "999999999";
    int asked = 0;
    windows.whileAsked = [&] {
        ++asked;
        EXPECT_TRUE(bar->dwellTimer().isActive());
        // A long rest at the left edge, beside where the bar will be, with the
        // exit button's mode in force: neither the bar nor its exit command.
        fake.pointer.at = {0, 400};
        for (int tick = 0; tick < 40; ++tick) {
            bar->onDwellTick();
        }
        EXPECT_FALSE(bar->isVisible());
        EXPECT_EQ(windows.exitShown, 0);
        EXPECT_EQ(app.clickMode, ClickMode::Exit);
        // A left click still lands where the pointer rests.
        app.clickMode = ClickMode::LeftClick;
        fake.pointer.at = {600, 400};
        for (int tick = 0; tick < 7; ++tick) {
            bar->onDwellTick();
        }
        EXPECT_EQ(fake.injector.events.size(), 2u);
    };
    start("2\r\n5\r\n0\r\nEnglish.lng\r\n0\r\n0\r\n0\r\n4\r\n");
    EXPECT_EQ(asked, 1);
    // Answered No: start-up goes on as before.
    EXPECT_FALSE(bar->dwellTimer().isActive());
    EXPECT_EQ(app.clickMode, ClickMode::Drag);
    EXPECT_TRUE(bar->isButtonLit(4));
    bar->startSlide();
    EXPECT_TRUE(bar->isVisible());
    bar->setBarVisible(false);
    EXPECT_FALSE(bar->isVisible());
}

}  // namespace
}  // namespace tz
