// A day of dwell ticks (864,000 at 100 ms) through the engine with fakes,
// over random pointer paths, rests, visits to the screen edges, click kind
// changes, option changes and windows opening and closing; the engine's
// promises are checked on every tick.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "core/engine/DwellEngine.h"
#include "tests/fakes/FakePlatform.h"

namespace tz {
namespace {

using E = MouseEvent;

// The windows around the engine, as the program's: a bar that shows and
// hides, options and exit windows that may be open, and whose making after
// being closed for good runs their load step, which selects left click.
class Host : public EngineHost {
  public:
    explicit Host(AppState& app) : app_(app) {}
    BarGeometry barGeometry() override { return bar; }
    void setBarLeft(double left) override { bar.left = left; }
    void placeBarOn(const ScreenArea&) override {}  // one monitor: the place stays
    void setBarVisible(bool visible) override { bar.visible = visible; }
    void makeExitWindow() override { make(exitExists); }
    void makeOptionsWindow() override { make(optionsExists); }
    bool isExitWindowVisible() override { return exitExists && exitVisible; }
    bool isOptionsWindowVisible() override { return optionsExists && optionsVisible; }
    void activateButton(ClickMode) override {
        ++commands;
        app_.clickMode = ClickMode::LeftClick;
        engine->resetClickCount();
    }
    void playClickSound() override {}

    BarGeometry bar{0, 4410, 675, 5385, false};
    bool exitVisible = false, optionsVisible = false;
    bool exitExists = true, optionsExists = true;
    long commands = 0;
    DwellEngine* engine = nullptr;

  private:
    void make(bool& exists) {
        if (!exists) {
            exists = true;
            app_.clickMode = ClickMode::LeftClick;
        }
    }
    AppState& app_;
};

bool isClickMode(ClickMode m) {
    return m >= ClickMode::DoubleClick && m <= ClickMode::MiddleClick;
}

std::vector<E> expectedClick(ClickMode m) {
    switch (m) {
        case ClickMode::DoubleClick:
            return {E::LeftDown, E::LeftUp, E::LeftDown, E::LeftUp};
        case ClickMode::LeftClick:
            return {E::LeftDown, E::LeftUp};
        case ClickMode::RightClick:
            return {E::RightDown, E::RightUp};
        case ClickMode::MiddleClick:
            return {E::MiddleDown, E::MiddleUp};
        default:
            return {};
    }
}

// Where the pointer goes: rests (still or drifting within the tolerance),
// moves of any speed, and trips to the left and right screen edges.
class PointerPath {
  public:
    explicit PointerPath(std::mt19937& random) : random_(random) {}

    PointerPosition next(int tolerance) {
        if (left_ == 0) {
            plan(tolerance);
        }
        --left_;
        if (drift_ > 0) {
            at_.x = std::clamp(at_.x + pick(-drift_, drift_), 0, 1279);
            at_.y = std::clamp(at_.y + pick(-drift_, drift_), 0, 1023);
        } else if (speed_ > 0) {
            const auto step = [this](std::int32_t from, std::int32_t to) {
                return from + std::clamp(to - from, -speed_, speed_);
            };
            at_ = {step(at_.x, target_.x), step(at_.y, target_.y)};
        }
        return at_;
    }

  private:
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random_); }

    void plan(int tolerance) {
        drift_ = 0;
        speed_ = 0;
        switch (pick(0, 9)) {
            case 0:  // jump
                at_ = {pick(0, 1279), pick(0, 1023)};
                left_ = 1;
                return;
            case 1:  // to the left edge, then around the bar
                at_ = {0, pick(0, 1023)};
                target_ = {pick(0, 60), pick(250, 700)};
                speed_ = pick(1, 30);
                left_ = pick(5, 60);
                return;
            case 2:  // to the right edge
                at_ = {1279, pick(0, 1023)};
                left_ = pick(1, 30);
                return;
            case 3:
            case 4:  // drift within the tolerance: a rest to the engine
                drift_ = (tolerance + 1) / 2;
                left_ = pick(1, 40);
                return;
            case 5:
            case 6:
            case 7:  // still
                left_ = pick(1, 40);
                return;
            default:  // travel
                target_ = {pick(0, 1279), pick(0, 1023)};
                speed_ = pick(1, 120);
                left_ = pick(1, 50);
                return;
        }
    }

    std::mt19937& random_;
    PointerPosition at_{640, 512};
    PointerPosition target_;
    int left_ = 0;
    int drift_ = 0;
    int speed_ = 0;
};

TEST(EngineSoak, ADayOfRandomUseKeepsEveryPromiseOnEveryTick) {
    constexpr long kTicks = 24L * 60 * 60 * 10;
    const char* seedText = std::getenv("TZ_SOAK_SEED");
    const unsigned seed = seedText ? static_cast<unsigned>(std::strtoul(seedText, nullptr, 10)) : 1;
    std::mt19937 random(seed);
    const auto chance = [&random](int inN) {
        return std::uniform_int_distribution<int>(1, inN)(random) == 1;
    };
    const auto pick = [&random](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(random);
    };

    AppState app;
    app.settings.tolerance = 2;
    app.settings.delay = 5;
    app.clickMode = ClickMode::LeftClick;
    fake::FakePlatform fake;
    Host host(app);
    DwellEngine engine(app, host, fake.pointer, fake.screen, fake.injector);
    host.engine = &engine;
    PointerPath path(random);

    // The rest in progress, as the engine's promises define it: the pointer
    // has moved less than the tolerance plus 2 pixels since the last tick, and
    // clicking has not been paused (click kind 1) meanwhile.
    long rests = 0, clicks = 0, dragEvents = 0;
    bool clickedThisRest = false, commandThisRest = false;
    int restTicks = 0;
    ClickMode restMode = app.clickMode;
    bool restSteady = true;  // click kind and options unchanged since the rest began
    bool dragDown = false;
    int maxDelay = app.settings.delay;

    for (long tick = 0; tick < kTicks; ++tick) {
        // Now and then the user changes the click kind, the options or a window.
        if (chance(150)) {
            static constexpr std::int16_t kModes[] = {0, 1, 2, 3, 3, 4, 4, 5, 6, 7, 8, 12, -1};
            app.clickMode = ClickMode{kModes[pick(0, std::size(kModes) - 1)]};
            restSteady = false;
        }
        if (chance(3000)) {
            app.settings.tolerance = static_cast<std::int16_t>(pick(0, 10));
            app.settings.delay = static_cast<std::int16_t>(pick(2, 20));
            app.settings.soundOn = static_cast<std::int16_t>(pick(0, 1));
            app.settings.rightEdge = static_cast<std::int16_t>(pick(0, 1));
            maxDelay = std::max<int>(maxDelay, app.settings.delay);
            restSteady = false;
        }
        if (chance(2000)) {
            host.exitVisible = chance(2);
            host.optionsVisible = chance(2);
            host.exitExists = !chance(3);
            host.optionsExists = !chance(3);
        }

        const PointerPosition p = path.next(app.settings.tolerance);
        const int margin = app.settings.tolerance + 2;
        const bool moved = std::abs(engine.state().lastX - p.x) >= margin ||
                           std::abs(engine.state().lastY - p.y) >= margin;
        const ClickMode modeBefore = app.clickMode;
        const long commandsBefore = host.commands;
        fake.injector.events.clear();
        fake.pointer.at = p;
        engine.tick();
        const auto& events = fake.injector.events;
        SCOPED_TRACE("tick " + std::to_string(tick) + ", mode " +
                     std::to_string(static_cast<int>(modeBefore)) + ", seed " +
                     std::to_string(seed));

        // A bar command counts the ticks of the rest that a move ends, so it
        // may come on the moving tick itself, as the last act of that rest.
        if (host.commands != commandsBefore) {
            ASSERT_FALSE(commandThisRest) << "a second bar command in one rest";
            ASSERT_EQ(host.commands, commandsBefore + 1);
            commandThisRest = true;
        }
        // Click kind 1 pauses clicking, which ends the rest as moving does.
        if (moved || modeBefore == ClickMode::Pause) {
            ++rests;
            clickedThisRest = commandThisRest = false;
            restTicks = 0;
            restMode = app.clickMode;
            restSteady = true;
        } else {
            ++restTicks;
        }
        restSteady = restSteady && restMode == app.clickMode;

        if (!events.empty()) {
            ASSERT_FALSE(moved) << "a click while the pointer moved";
            ASSERT_TRUE(isClickMode(modeBefore)) << "a click in a mode that never clicks";
            ASSERT_FALSE(clickedThisRest) << "a second click in one rest";
            ASSERT_GE(restTicks, app.settings.delay) << "a click before the rest lasted the delay";
            clickedThisRest = true;
            ++clicks;
            if (modeBefore == ClickMode::Drag) {
                ASSERT_EQ(events, std::vector<E>{dragDown ? E::LeftUp : E::LeftDown})
                    << "drag presses and releases must alternate";
                dragDown = !dragDown;
                ++dragEvents;
            } else {
                ASSERT_EQ(events, expectedClick(modeBefore));
            }
        }
        // A steady rest of the delay clicks, as long as the delay ends before
        // the bar buttons' 15-tick activation.
        if (!moved && restSteady && isClickMode(app.clickMode) && app.settings.delay <= 14 &&
            restTicks >= app.settings.delay) {
            ASSERT_TRUE(clickedThisRest) << "a rest of " << restTicks << " ticks did not click";
        }

        const DwellState& s = engine.state();
        ASSERT_EQ(s.dragButtonDown, dragDown);
        ASSERT_GE(engine.state().barTicks, 0);
        ASSERT_LE(engine.state().barTicks, DwellEngine::kActivationTicks);
        ASSERT_GE(engine.state().clickTicks, 0);
        ASSERT_LT(engine.state().clickTicks, maxDelay);
    }
    // The random use must have reached every kind of event, or it proved little.
    EXPECT_GT(rests, 10000);
    EXPECT_GT(clicks, 1000);
    EXPECT_GT(dragEvents, 100);
    EXPECT_GT(host.commands, 100);
    RecordProperty("rests", std::to_string(rests));
    RecordProperty("clicks", std::to_string(clicks));
    RecordProperty("commands", std::to_string(host.commands));
}

}  // namespace
}  // namespace tz
