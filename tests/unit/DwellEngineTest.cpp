#include "core/engine/DwellEngine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "tests/fakes/FakePlatform.h"

namespace tz {
namespace {

using E = MouseEvent;

}  // namespace

void PrintTo(const ScreenArea& a, std::ostream* os) {
    *os << a.width << "x" << a.height << "+" << a.left << "+" << a.top << " twips";
}

namespace {

// Plays the windows around the engine: a bar 675 x 5385 twips, hidden at the
// left edge, and options/exit windows whose making forces ClickMode to 3 as
// their load step does.
class FakeHost : public EngineHost {
  public:
    explicit FakeHost(AppState& app) : app_(app) {}

    BarGeometry barGeometry() override { return bar; }
    void setBarLeft(double left) override { bar.left = left; }
    // The bar's place is 4410 twips below its monitor's top.
    void placeBarOn(const ScreenArea& monitor) override {
        placedOn = monitor;
        bar.top = monitor.top + 4410;
    }
    void setBarVisible(bool visible) override { bar.visible = visible; }
    void makeExitWindow() override { make(exitExists); }
    void makeOptionsWindow() override { make(optionsExists); }
    bool isExitWindowVisible() override {
        log.push_back("exit?");
        return exitExists && exitVisible;
    }
    bool isOptionsWindowVisible() override {
        log.push_back("options?");
        return optionsExists && optionsVisible;
    }
    void activateButton(ClickMode button) override {
        log.push_back("command " + std::to_string(static_cast<int>(button)));
        app_.clickMode = ClickMode::LeftClick;
        engine->resetClickCount();
    }
    void playClickSound() override { log.push_back("sound"); }

    BarGeometry bar{0, 4410, 675, 5385, false};
    bool exitVisible = false, optionsVisible = false;
    bool exitExists = true, optionsExists = true;
    DwellEngine* engine = nullptr;
    ScreenArea placedOn;
    std::vector<std::string> log;

  private:
    void make(bool& exists) {
        if (!exists) {
            exists = true;
            app_.clickMode = ClickMode::LeftClick;
        }
    }
    AppState& app_;
};

class DwellEngineTest : public ::testing::Test {
  protected:
    DwellEngineTest() {
        app.settings.tolerance = 2;
        app.settings.delay = 5;
        app.clickMode = ClickMode::LeftClick;
        host.engine = &engine;
    }

    // Moves to (x, y) on one tick and rests there for `rest` more ticks.
    void moveAndRest(int x, int y, int rest) {
        at(x, y);
        for (int i = 0; i < rest; ++i) {
            engine.tick();
        }
    }
    void at(int x, int y) {
        fake.pointer.at = {x, y};
        engine.tick();
    }
    std::size_t clicks() const { return fake.injector.events.size(); }
    int count(const std::string& entry) const {
        return static_cast<int>(std::count(host.log.begin(), host.log.end(), entry));
    }

    AppState app;
    fake::FakePlatform fake;
    FakeHost host{app};
    DwellEngine engine{app, host, fake.pointer, fake.screen, fake.injector};
};

TEST_F(DwellEngineTest, ClicksOncePerRestAndOnlyAfterAWholeDelay) {
    moveAndRest(500, 500, 4);
    EXPECT_EQ(clicks(), 0u);
    engine.tick();  // fifth resting tick
    EXPECT_EQ(fake.injector.events, (std::vector<E>{E::LeftDown, E::LeftUp}));

    // Resting on gives no second click; ticks 6 to 8 of the rest leave 3.
    moveAndRest(500, 500, 7);
    EXPECT_EQ(clicks(), 2u);
    EXPECT_EQ(engine.state().clickTicks, 3);

    // A move drops what was left over: the next click needs five resting ticks again.
    moveAndRest(600, 600, 4);
    EXPECT_EQ(clicks(), 2u);
    engine.tick();
    EXPECT_EQ(clicks(), 4u);

    // So does pausing: a rest begun in click kind 1 counts from the change back.
    moveAndRest(700, 700, 3);
    app.clickMode = ClickMode::Pause;
    engine.tick();
    app.clickMode = ClickMode::LeftClick;
    moveAndRest(700, 700, 3);
    EXPECT_EQ(clicks(), 4u);
    moveAndRest(700, 700, 1);
    EXPECT_EQ(clicks(), 6u);
}

TEST_F(DwellEngineTest, IdleOnlyWhenTheRestIsOverAndThePointerStaysExactlyPut) {
    struct Step {
        int x, y;
        ClickMode mode;
        bool idle;
    };
    const Step steps[] = {
        {500, 500, ClickMode::LeftClick, false},  // a move
        {500, 500, ClickMode::LeftClick, false},  // counting towards the click
        {500, 500, ClickMode::LeftClick, false},
        {500, 500, ClickMode::LeftClick, false},
        {500, 500, ClickMode::LeftClick, false},
        {500, 500, ClickMode::LeftClick, true},   // the click came: only a move starts another
        {501, 500, ClickMode::LeftClick, false},  // a drift within the tolerance is watched
        {501, 500, ClickMode::LeftClick, true},
        {700, 700, ClickMode::Pause, false},
        {700, 700, ClickMode::Pause, true},     // paused
        {700, 700, ClickMode::Options, false},  // a bar button counts towards its command
    };
    for (const Step& s : steps) {
        app.clickMode = s.mode;
        at(s.x, s.y);
        EXPECT_EQ(engine.idleUntilPointerMoves(), s.idle)
            << s.x << "," << s.y << " mode " << static_cast<int>(s.mode);
    }
}

TEST_F(DwellEngineTest, RestIsJudgedAgainstToleranceTwoPixels) {
    app.settings.tolerance = 0;
    at(500, 500);
    for (int i = 0; i < 5; ++i) {
        at(500 + i, 500 + i);  // one pixel per tick on each axis: resting
    }
    EXPECT_EQ(clicks(), 2u);

    moveAndRest(700, 700, 0);
    for (int i = 1; i <= 10; ++i) {
        at(700 + 2 * i, 700);  // two pixels per tick: moving
    }
    EXPECT_EQ(clicks(), 2u);

    // A slow drift within the tolerance still clicks although it never stops.
    app.settings.tolerance = 1;
    for (int i = 1; i <= 6; ++i) {
        at(800 + 2 * i, 800 + 2 * i);
    }
    EXPECT_EQ(clicks(), 4u);
}

TEST_F(DwellEngineTest, EachKindClicksOncePerRestWithItsSound) {
    app.settings.soundOn = 1;
    const std::pair<ClickMode, std::vector<E>> kinds[] = {
        {ClickMode::LeftClick, {E::LeftDown, E::LeftUp}},
        {ClickMode::DoubleClick, {E::LeftDown, E::LeftUp, E::LeftDown, E::LeftUp}},
        {ClickMode::RightClick, {E::RightDown, E::RightUp}},
        {ClickMode::MiddleClick, {E::MiddleDown, E::MiddleUp}},
        {ClickMode::Drag, {E::LeftDown}},
    };
    int x = 300;
    for (const auto& [mode, events] : kinds) {
        fake.injector.events.clear();
        host.log.clear();
        app.clickMode = mode;
        moveAndRest(x += 100, 500, 12);  // more than two delays: still one click
        EXPECT_EQ(fake.injector.events, events) << static_cast<int>(mode);
        EXPECT_EQ(host.log, std::vector<std::string>{"sound"}) << static_cast<int>(mode);
    }
}

TEST_F(DwellEngineTest, DragPressesOnOneRestAndReleasesOnTheNext) {
    app.clickMode = ClickMode::Drag;
    moveAndRest(500, 500, 5);
    moveAndRest(600, 500, 5);
    moveAndRest(700, 500, 5);
    EXPECT_EQ(fake.injector.events, (std::vector<E>{E::LeftDown, E::LeftUp, E::LeftDown}));
}

TEST_F(DwellEngineTest, NoClickModeNeverClicksNorActivates) {
    app.clickMode = ClickMode::Pause;
    app.settings.soundOn = 1;
    moveAndRest(500, 500, 100);
    EXPECT_EQ(clicks(), 0u);
    EXPECT_TRUE(host.log.empty());
    EXPECT_FALSE(engine.state().restClicked);
}

TEST_F(DwellEngineTest, CommandModesNeverClick) {
    for (ClickMode m : {ClickMode::Exit, ClickMode::Options, ClickMode::Help, ClickMode{12}}) {
        app.clickMode = m;
        moveAndRest(500 + static_cast<int>(m), 500, 30);
    }
    EXPECT_EQ(clicks(), 0u);
}

TEST_F(DwellEngineTest, ActivationOnTheFifteenthTickEvenWithMovement) {
    app.settings.delay = 20;
    app.clickMode = ClickMode::Options;
    host.bar.visible = true;
    app.settings.soundOn = 1;
    // Pointer over the options button at the left edge; 14 counted ticks...
    moveAndRest(20, 400, 14);
    EXPECT_EQ(count("command 7"), 0);
    // ...and the 15th fires although the pointer moves on it.
    at(30, 420);
    EXPECT_EQ(host.log, (std::vector<std::string>{"sound", "exit?", "options?", "command 7"}));
    EXPECT_EQ(app.clickMode, ClickMode::LeftClick);
    EXPECT_EQ(engine.state().clickTicks, 0);
}

TEST_F(DwellEngineTest, ActivationOpensEachCommandOnceAndNotAnOpenWindow) {
    app.clickMode = ClickMode::Exit;
    moveAndRest(20, 400, 40);
    EXPECT_EQ(count("command 0"), 1);
    EXPECT_EQ(engine.state().barTicks, 0);  // the activation ends the count

    app.clickMode = ClickMode::Options;
    host.optionsVisible = true;
    moveAndRest(20, 500, 40);
    EXPECT_EQ(count("command 7"), 0);

    // A selection that drifts from options to help counts afresh from the change.
    moveAndRest(20, 600, 10);
    app.clickMode = ClickMode::Help;
    moveAndRest(20, 600, 14);
    EXPECT_EQ(count("command 8"), 0);
    engine.tick();
    EXPECT_EQ(count("command 8"), 1);
}

TEST_F(DwellEngineTest, CreatingTheExitWindowOnActivationRunsNoCommand) {
    host.exitExists = false;  // destroyed after No: the next activation makes it
    app.clickMode = ClickMode::Exit;
    moveAndRest(20, 400, 20);
    EXPECT_EQ(count("command 0"), 0);
    EXPECT_EQ(app.clickMode, ClickMode::LeftClick);
}

TEST_F(DwellEngineTest, ActivationBlocksTheDwellClickOfALongDelay) {
    app.settings.delay = 16;
    moveAndRest(20, 400, 20);
    EXPECT_EQ(clicks(), 0u);
    EXPECT_TRUE(engine.state().restClicked);
}

TEST_F(DwellEngineTest, ClickIsSilentOverTheShownBar) {
    app.settings.soundOn = 1;
    host.bar.visible = true;
    moveAndRest(20, 400, 5);  // at the left edge, over the bar
    EXPECT_EQ(clicks(), 2u);
    EXPECT_EQ(count("sound"), 0);
}

TEST_F(DwellEngineTest, ShowsAndHidesTheBarAtTheEdges) {
    host.bar.left = 500;
    at(0, 10);  // x = 0 at any height
    EXPECT_TRUE(host.bar.visible);
    EXPECT_EQ(host.bar.left, 0);

    at(30, 400);  // over the shown bar: unchanged
    EXPECT_TRUE(host.bar.visible);
    at(30, 400);  // a resting tick counts towards the bar button
    ASSERT_EQ(engine.state().barTicks, 1);
    at(46, 400);  // past the bar's width
    EXPECT_FALSE(host.bar.visible);
    EXPECT_EQ(engine.state().barTicks, 0);

    // The right-edge column shows the bar only with RightEdge on and within its height.
    at(1279, 400);
    EXPECT_FALSE(host.bar.visible);
    app.settings.rightEdge = 1;
    at(1279, 200);  // above the bar (top 294 px)
    EXPECT_FALSE(host.bar.visible);
    at(1279, 400);
    EXPECT_TRUE(host.bar.visible);
    EXPECT_EQ(host.bar.left, 1280 * 15 - 675);
}

TEST_F(DwellEngineTest, TwoMonitorsBarAtTheDesktopsOuterEdgesOnThePointersMonitor) {
    // 1600 x 1000 on the left; 1280 x 800 on the right, 200 px lower. The bar
    // is 359 px high: its place is 294..653 px on the left monitor and
    // 494..853 px on the right one.
    fake.screen.monitors = {{0, 0, 1600, 1000}, {1600, 200, 1280, 800}};
    const ScreenArea left{0, 0, 1600 * 15, 1000 * 15};
    const ScreenArea right{1600 * 15, 200 * 15, 1280 * 15, 800 * 15};
    const double atRightEdge = 2880 * 15 - 675;
    app.settings.rightEdge = 1;
    struct Step {
        int x, y;
        bool visible;
        double left;
        ScreenArea placedOn;
    };
    const Step steps[] = {
        // Sweeping across the seam within the bar's height shows nothing.
        {1500, 400, false, 0, left},
        {1598, 400, false, 0, left},
        {1599, 400, false, 0, left},
        {1600, 600, false, 0, right},
        {1601, 600, false, 0, right},
        // The desktop's right edge on the right monitor, within its bar place only.
        {2879, 450, false, 0, right},
        {2879, 900, false, 0, right},
        {2879, 600, true, atRightEdge, right},
        {2850, 800, true, atRightEdge, right},  // over the shown bar
        {2700, 800, false, atRightEdge, right},
        // The left edge, on the left monitor.
        {0, 900, true, 0, left},
        {30, 500, true, 0, left},
        {60, 500, false, 0, left},
    };
    for (const Step& step : steps) {
        at(step.x, step.y);
        SCOPED_TRACE(::testing::Message() << "pointer at " << step.x << "," << step.y);
        EXPECT_EQ(host.bar.visible, step.visible);
        EXPECT_EQ(host.bar.left, step.left);
        EXPECT_EQ(host.placedOn, step.placedOn);
    }
}

TEST_F(DwellEngineTest, CoordinatesOutsideSixteenBitsKeepThePreviousOnes) {
    at(500, 600);
    at(40000, -40000);
    EXPECT_EQ(engine.state().lastX, 500);
    EXPECT_EQ(engine.state().lastY, 600);
}

TEST_F(DwellEngineTest, FirstTickCountsAsMovementUnlessNearTheCorner) {
    at(3, 3);  // within Tolerance + 1 of (0, 0): a resting tick
    EXPECT_EQ(engine.state().clickTicks, 1);

    AppState other;
    other.settings.tolerance = 2;
    other.settings.delay = 5;
    FakeHost otherHost(other);
    fake::FakePlatform otherFake;
    DwellEngine fresh(other, otherHost, otherFake.pointer, otherFake.screen, otherFake.injector);
    otherFake.pointer.at = {4, 0};
    fresh.tick();
    EXPECT_EQ(fresh.state().clickTicks, 0);
}

}  // namespace
}  // namespace tz
