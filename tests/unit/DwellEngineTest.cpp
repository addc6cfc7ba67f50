#include "core/engine/DwellEngine.h"
#include "core/engine/ScrollPad.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "tests/fakes/FakePlatform.h"

namespace tz {

namespace {

namespace E {
constexpr ButtonEvent LeftDown{MouseButton::Left, true}, LeftUp{MouseButton::Left, false},
    RightDown{MouseButton::Right, true}, RightUp{MouseButton::Right, false},
    MiddleDown{MouseButton::Middle, true}, MiddleUp{MouseButton::Middle, false};
}  // namespace E
using Log = std::vector<std::string>;
using M = ClickMode;
using W = WheelStep;

// The windows around the engine: a bar of 675 x 5385 twips placed 4410 twips below its monitor's
// top, and exit and options windows whose making sets ClickMode to 3, as their load step does.
struct FakeHost : EngineHost {
    struct Windows {
        bool exitExists = true, exitVisible = false, optionsExists = true, optionsVisible = false;
    };
    explicit FakeHost(AppState& app) : app(app) {}
    BarGeometry barGeometry() override { return bar; }
    void setBarLeft(double left) override { bar.left = left; }
    void placeBarOn(const ScreenArea& monitor) override {
        placedOn = monitor;
        bar.top = monitor.top + 4410;
    }
    void setBarVisible(bool visible) override { bar.visible = visible; }
    void makeExitWindow() override { make(windows.exitExists); }
    void makeOptionsWindow() override { make(windows.optionsExists); }
    bool isExitWindowVisible() override { return windows.exitVisible; }
    bool isOptionsWindowVisible() override { return windows.optionsVisible; }
    void activateButton(ClickMode button) override {
        log.push_back("command " + std::to_string(static_cast<int>(button)));
        app.clickMode = M::LeftClick;
    }
    void playClickSound() override { log.push_back("sound"); }
    BarButtonPlaces barButtonPlaces() override { return buttons; }
    // Kept apart from `log`, which holds what a rest does.
    void selectBarButton(ClickMode button) override {
        selected.push_back(static_cast<int>(button));
        app.clickMode = followSelection ? button : app.clickMode;
    }
    void pointerOnBarBackground() override {
        selected.push_back(-1);
        app.clickMode = followSelection ? M::Pause : app.clickMode;
    }
    bool restActsAt(std::int32_t x, std::int32_t y) override {
        return x >= 1200 && x < 1232 && y >= 0 && y < 32;  // a tray icon at the top right
    }
    void actAt(std::int32_t x, std::int32_t y) override {
        log.push_back("act " + std::to_string(x) + " " + std::to_string(y));
    }
    void make(bool& exists) {
        app.clickMode = std::exchange(exists, true) ? app.clickMode : M::LeftClick;
    }

    AppState& app;
    BarGeometry bar{0, 4410, 675, 5385, false};
    Windows windows;
    ScreenArea placedOn;
    Log log;
    BarButtonPlaces buttons{};  // none: the bar is all background
    std::vector<int> selected;  // -1: the background
    bool followSelection = false;
};

struct Rig {
    Rig() {
        app.settings.tolerance = 2;
        app.settings.delay = 5;
        app.settings.soundOn = 1;
        app.clickMode = M::LeftClick;
    }
    void at(int x, int y, int ticks = 1) {
        fake.pointer.at = {x, y};
        for (int i = 0; i < ticks; ++i) engine.tick();
    }
    const std::vector<ButtonEvent>& events() const { return fake.injector.events; }

    AppState app;
    fake::FakePlatform fake;
    FakeHost host{app};
    DwellEngine engine{app, host, fake.pointer, fake.screen, fake.injector};
};

struct DwellEngineTest : ::testing::Test, Rig {};

TEST_F(DwellEngineTest, PointerRestsWhileEachTickMovesItLessThanToleranceTwoPixels) {
    // Tolerance, move per tick on each axis, whether six such ticks click.
    const std::tuple<std::int16_t, int, int, bool> cases[] = {
        {0, 1, 1, true}, {0, 2, 0, false}, {0, 0, 2, false}, {1, 2, 2, true}};
    int x = 100;
    for (const auto& [tolerance, dx, dy, clicks] : cases) {
        fake.injector.events.clear();
        app.settings.tolerance = tolerance;
        at(x += 200, 500);
        for (int i = 1; i <= 6; ++i) at(x + i * dx, 500 + i * dy);
        EXPECT_EQ(!events().empty(), clicks) << tolerance << " " << dx << " " << dy;
    }
}

TEST_F(DwellEngineTest, EachKindClicksOncePerRestWithItsSoundAndTheOthersNever) {
    std::vector<std::pair<ClickMode, std::vector<ButtonEvent>>> kinds = {
        {M::LeftClick, {E::LeftDown, E::LeftUp}},
        {M::DoubleClick, {E::LeftDown, E::LeftUp, E::LeftDown, E::LeftUp}},
        {M::RightClick, {E::RightDown, E::RightUp}},
        {M::MiddleClick, {E::MiddleDown, E::MiddleUp}},
        {M::Drag, {E::LeftDown}}};
    for (const ClickMode other : {M::Pause, M::Exit, M::Options, M::Help, ClickMode{12}})
        kinds.push_back({other, {}});
    int x = 200;
    for (const auto& [mode, sent] : kinds) {
        fake.injector.events.clear();
        host.log.clear();
        app.clickMode = mode;
        at(x += 100, 500, 30);  // away from the bar: no command either
        EXPECT_EQ(events(), sent) << static_cast<int>(mode);
        EXPECT_EQ(host.log, sent.empty() ? Log{} : Log{"sound"}) << static_cast<int>(mode);
    }
}

TEST_F(DwellEngineTest, DragPressesOnOneRestAndReleasesOnTheNextAndOverTheBarIsSilent) {
    app.clickMode = M::Drag;
    host.bar.visible = true;
    for (const int y : {400, 500, 600}) at(20, y, 6);
    EXPECT_EQ(events(), (std::vector<ButtonEvent>{E::LeftDown, E::LeftUp, E::LeftDown}));
    EXPECT_EQ(host.log, Log{});
    // At the end of the program a held button is let go, once; a released one is left.
    for (int i = 0; i < 2; ++i) engine.releaseHeldButton();
    at(20, 700, 6);
    engine.releaseHeldButton();
    EXPECT_EQ(events(), (std::vector<ButtonEvent>{E::LeftDown, E::LeftUp, E::LeftDown, E::LeftUp,
                                                  E::LeftDown, E::LeftUp}));
}

TEST(DwellEngine, BarButtonRunsItsCommandAfterFifteenTicksOfOneSelection) {
    // No command for a window that is open, nor when making a window has just set ClickMode to 3.
    using W = FakeHost::Windows;
    const std::tuple<ClickMode, int, W, Log> cases[] = {
        {M::Options, 15, W{}, {}},
        {M::Options, 16, W{}, {"sound", "command 7"}},
        {M::Help, 16, W{}, {"sound", "command 8"}},
        {M::Exit, 16, W{}, {"sound", "command 0"}},
        {M::Exit, 16, W{.exitVisible = true}, {"sound"}},
        {M::Exit, 16, W{.exitExists = false}, {"sound"}},
        {M::Options, 16, W{.optionsVisible = true}, {"sound"}},
        {M::Options, 16, W{.optionsExists = false}, {"sound"}}};
    for (const auto& [mode, ticks, windows, log] : cases) {
        Rig r;
        r.app.clickMode = mode;
        r.host.windows = windows;
        r.at(20, 400, ticks - 1);  // resting over the bar's column
        r.at(30, 420);             // a move counts all the same
        EXPECT_EQ(r.host.log, log) << static_cast<int>(mode) << " " << ticks;
    }
    // A delay longer than the activation's: the activation takes the rest's click.
    Rig r;
    r.app.settings.delay = 16;
    r.at(20, 400, 20);
    EXPECT_TRUE(r.events().empty());
    EXPECT_EQ(r.host.log, Log{"sound"});
}

TEST_F(DwellEngineTest, AResetOrAChangedSelectionStartsTheCountsAfresh) {
    at(500, 500, 5);  // four resting ticks counted
    engine.resetCounts();
    at(500, 500, 4);
    EXPECT_TRUE(events().empty());
    // Ten ticks over the bar's column, then a reset or a change of the selection.
    for (const bool reset : {true, false}) {
        Rig r;
        r.app.clickMode = M::Options;
        r.at(20, 400, 10);
        reset ? r.engine.resetCounts() : void(r.app.clickMode = M::Help);
        r.at(20, 400, reset ? 14 : 15);
        EXPECT_EQ(r.host.log, Log{}) << reset;
        r.at(20, 400);
        EXPECT_EQ(r.host.log, (Log{"sound", reset ? "command 7" : "command 8"})) << reset;
    }
}

TEST_F(DwellEngineTest, IdleOnlyWhenTheRestIsOverAndThePointerStaysExactlyPut) {
    // Idle once the rest has clicked, not while a drift within the tolerance goes on, idle when
    // paused, never while a bar button counts. Each step: mode, pointer x, ticks there, idle on
    // the last of them (never before it).
    for (const auto& [mode, x, ticks, idle] : {std::tuple{M::LeftClick, 500, 6, true},
                                               {M::LeftClick, 501, 2, true},
                                               {M::Pause, 700, 2, true},
                                               {M::Options, 700, 1, false}}) {
        app.clickMode = mode;
        for (int i = 1; i <= ticks; ++i) {
            at(x, 500);
            EXPECT_EQ(engine.idleUntilPointerMoves(), idle && i == ticks) << x << " " << i;
        }
    }
}

TEST_F(DwellEngineTest, ClicksOnceAfterEachWholeDelayOfRestingTicksAndAHandPressEndsTheRest) {
    // Each step: mode, pointer x, ticks there, the pending ticks after them (0: none), whether a
    // drag would let go, and events sent so far. Counting starts on the first resting tick, the
    // fifth clicks and no more come; a move or a paused tick drops the count. A hand press mid-rest
    // ends the rest without a click until the pointer moves.
    const std::tuple<ClickMode, int, int, int, bool, std::size_t> steps[] = {
        {M::LeftClick, 300, 1, 0, false, 0},   {M::LeftClick, 300, 1, 1, false, 0},
        {M::LeftClick, 300, 3, 4, false, 0},   {M::LeftClick, 300, 1, 0, false, 2},
        {M::LeftClick, 300, 12, 0, false, 2},  {M::LeftClick, 350, 4, 3, false, 2},
        {M::Pause, 350, 1, 0, false, 2},       {M::LeftClick, 350, 4, 4, false, 2},
        {M::LeftClick, 350, 1, 0, false, 4},   {M::Pause, 400, 3, 0, false, 4},
        {M::Options, 400, 3, 0, false, 4},     {M::DoubleClick, 450, 2, 1, false, 4},
        {M::Drag, 500, 3, 2, false, 4},        {M::Drag, 500, 3, 0, false, 5},
        {M::LeftClick, 550, 2, 1, false, 5},   {M::Drag, 600, 2, 1, true, 5},
        {M::MiddleClick, 650, 2, 1, false, 5}, {M::RightClick, 700, 3, 2, false, 5}};
    for (const auto& [mode, x, ticks, pending, releases, sent] : steps) {
        app.clickMode = mode;
        at(x, 500, ticks);
        EXPECT_EQ(events().size(), sent) << x << " " << ticks;
        const auto click = engine.pendingClick().value_or(PendingClick{M::Pause, false, 0, 0});
        EXPECT_EQ(
            std::tuple(click.ticks, click.kind, click.delay, click.releasesDrag),
            pending ? std::tuple(pending, mode, 5, releases) : std::tuple(0, M::Pause, 0, false))
            << x;
    }
    const auto sent = events().size();
    engine.cancelPendingClick();
    EXPECT_FALSE(engine.pendingClick());
    at(700, 500, 12);
    EXPECT_EQ(events().size(), sent);
    EXPECT_TRUE(engine.idleUntilPointerMoves());
    at(800, 500, 6);
    EXPECT_EQ(events().size(), sent + 2);
    // A hand that moves and presses between two ticks ends the rest it pressed in.
    fake.pointer.at = {900, 500};
    engine.cancelPendingClick();
    at(900, 500, 12);
    EXPECT_EQ(events().size(), sent + 2);
}

TEST_F(DwellEngineTest, TheShownBarSelectsWhatIsUnderThePointerOncePerChange) {
    // The bar's buttons as laid out without the middle-click button (twips); the bar's top is 294
    // px. No pointer event of the bar's own is needed, as while another program grabs the pointer.
    host.buttons = {{{270, 0, 390, 480, true},
                     {0, 540, 675, 750, true},
                     {0, 1290, 675, 780, true},
                     {0, 2070, 675, 750, true},
                     {0, 2820, 675, 750, true},
                     {0, 3570, 675, 750, true},
                     {0, 4320, 675, 780, false},
                     {0, 4350, 675, 420, true},
                     {0, 4830, 675, 495, true}}};
    host.followSelection = true;
    app.settings.rightEdge = 1;
    // Each step: the pointer, ticks there, what it selects (-2: nothing). Resting or moving within
    // a button selects nothing more; the gaps and the corner beside the exit button are background;
    // a hidden bar selects nothing, and showing it again selects anew.
    const std::tuple<int, int, int, int> steps[] = {
        {500, 454, 1, -2}, {0, 454, 1, 3},    {20, 454, 30, -2}, {24, 460, 1, -2},
        {20, 328, 1, -1},  {20, 394, 1, 2},   {30, 304, 1, 0},   {5, 304, 1, -1},
        {20, 594, 1, 7},   {20, 614, 3, -1},  {20, 624, 1, 8},   {300, 454, 5, -2},
        {0, 454, 1, 3},    {300, 454, 1, -2}, {1279, 424, 1, 2}, {1279, 328, 1, -1}};
    std::vector<int> selected;
    for (const auto& [x, y, ticks, selects] : steps) {
        at(x, y, ticks);
        selects == -2 ? void() : selected.push_back(selects);
        ASSERT_EQ(host.selected, selected) << "pointer at " << x << "," << y;
    }
    // A rest on the options button opens the options once: its command gives left click, and the
    // button still under the pointer does not take it back.
    host.selected.clear();
    at(0, 594);
    at(20, 594, 40);
    EXPECT_EQ(host.selected, std::vector<int>{7});
    EXPECT_EQ(host.log, (Log{"sound", "command 7"}));
    EXPECT_EQ(app.clickMode, M::LeftClick);
}

TEST(DwellEngine, ARestWhereTheHostActsActsOnceAndNeverClicksInAnyKind) {
    for (const ClickMode mode :
         {M::Pause, M::LeftClick, M::DoubleClick, M::Drag, M::RightClick, M::MiddleClick}) {
        SCOPED_TRACE(static_cast<int>(mode));
        Rig r;
        r.app.clickMode = mode;
        if (mode == M::Drag)
            r.at(600, 600, 6);  // the button held down elsewhere stays down
        const auto held = r.events();
        r.host.log.clear();
        r.at(1210, 10, 5);  // a move, then four resting ticks: not yet
        EXPECT_EQ(r.host.log, Log{});
        // Paused, the timer keeps ticking through such a rest.
        EXPECT_FALSE(r.engine.idleUntilPointerMoves());
        r.at(1211, 11, 30);
        EXPECT_EQ(r.host.log, (Log{"act 1211 11", "sound"}));
        EXPECT_EQ(r.events(), held);
        EXPECT_TRUE(r.engine.idleUntilPointerMoves());
        r.at(1225, 25, 6);  // the next rest acts again
        EXPECT_EQ(r.host.log.size(), 4u);
    }
}

TEST(DwellEngine, BarShowsAtTheDesktopsOuterEdgesOnThePointersMonitor) {
    // 1600 x 1000 on the left; 1280 x 800 on the right, 200 px lower. The bar, 45 px wide, has its
    // place 294..653 px high on the left monitor and 494..853 px on the right one. The seam between
    // the monitors is no edge; the right edge shows the bar only when chosen and within its place;
    // the left edge shows it at any height.
    Rig r;
    r.fake.screen.monitors = {{0, 0, 1600, 1000}, {1600, 200, 1280, 800}};
    const ScreenArea left{0, 0, 1600 * 15, 1000 * 15};
    const ScreenArea right{1600 * 15, 200 * 15, 1280 * 15, 800 * 15};
    const double atRight = 2880 * 15 - 675;
    const std::tuple<int, int, bool, bool, double, ScreenArea> steps[] = {
        {1500, 400, true, false, 0, left},       {1599, 400, true, false, 0, left},
        {1600, 600, true, false, 0, right},      {2879, 495, false, false, 0, right},
        {2879, 494, true, false, 0, right},      {2879, 853, true, false, 0, right},
        {2879, 495, true, true, atRight, right}, {2835, 852, true, true, atRight, right},
        {0, 900, true, true, 0, left},           {45, 653, true, true, 0, left},
        {45, 654, true, false, 0, left},         {0, 10, true, true, 0, left},
        {46, 500, true, false, 0, left},         {2879, 600, true, true, atRight, right},
        {2834, 600, true, false, atRight, right}};
    for (const auto& [x, y, rightEdge, visible, barLeft, placedOn] : steps) {
        r.app.settings.rightEdge = rightEdge;
        r.at(x, y);
        SCOPED_TRACE(::testing::Message() << "pointer at " << x << "," << y);
        EXPECT_EQ(r.host.bar.visible, visible);
        EXPECT_EQ(r.host.bar.left, barLeft);
        EXPECT_EQ(r.host.placedOn, placedOn);
    }
}

// A day of ticks (864,000): the pointer rests, drifts and jumps anywhere, edges and bar included,
// while the click kind, tolerance and delay change, as bar commands and OK do, and now and then a
// hand presses a button. No rest acts twice (a click or a command), a press never clicks, and after
// it the rest acts no more.
TEST_F(DwellEngineTest, SoakNoSecondActInARestAndNoneAfterAHandPress) {
    std::mt19937 random(1);
    const auto pick = [&](int lo, int hi) { return std::int16_t(lo + random() % (hi - lo + 1)); };
    app.settings.soundOn = 0;  // the log holds only commands
    const auto acts = [&] { return events().size() + host.log.size(); };
    PointerPosition spot, last;
    bool drifting = false, acted = false;
    for (long tick = 0, restLeft = 0; tick < 864000; ++tick) {
        if (pick(1, 150) == 1)
            app.clickMode = ClickMode{pick(-1, 12)};
        if (pick(1, 1000) == 1) {
            app.settings.tolerance = pick(0, 10);
            app.settings.delay = pick(2, 20);
        }
        if (restLeft-- == 0) {  // a new place: anywhere, an edge, or over the bar
            const int x[] = {pick(0, 1279), 0, 1279, pick(1, 44)};
            spot = {x[pick(0, 3)], pick(0, 1023)};
            restLeft = pick(1, 40);
            drifting = pick(0, 2) == 0;
        }
        const PointerPosition p{spot.x + drifting * pick(0, 1), spot.y + drifting * pick(0, 1)};
        const bool still =
            p.x == last.x && p.y == last.y && app.clickMode != M::Pause;  // pausing ends a rest too
        const auto actsBefore = acts();
        at(p.x, p.y);
        last = p;
        ASSERT_FALSE(still && acted && acts() != actsBefore) << "a second act, tick " << tick;
        acted = still && (acted || acts() != actsBefore);
        if (pick(1, 200) == 1) {  // a hand's press between two ticks
            const auto actsAtPress = acts();
            engine.cancelPendingClick();
            ASSERT_EQ(acts(), actsAtPress) << "a press acted, tick " << tick;
            acted = true;
        }
    }
    EXPECT_GT(events().size(), 2000u);
    EXPECT_GT(host.log.size(), 100u);
}

TEST_F(DwellEngineTest, OnlySixteenBitCoordinatesAreKept) {
    at(32767, -32768);
    at(32768, -32769);
    EXPECT_EQ(engine.state().lastX, 32767);
    EXPECT_EQ(engine.state().lastY, -32768);
}

TEST(ScrollPad, ZonesAndRatesFromTheCentreOut) {
    // dx, dy in screen pixels, scale; inside, the way it scrolls, steps a second.
    const std::optional<W> none;
    const std::tuple<double, double, double, bool, std::optional<W>, double> cases[] = {
        {0, 0, 1, true, none, 0},          {0, -15, 1, true, none, 0},
        {0, -15.5, 1, true, W::Up, 2.14},  {0, 40, 1, true, W::Down, 9.22},
        {-40, 0, 1, true, W::Left, 9.22},  {40, 39, 1, true, W::Right, 13.81},
        {39, 40, 1, true, W::Down, 13.81}, {30, -30, 1, true, W::Up, 9.92},
        {0, 60, 1, true, W::Down, 15},     {0, 60.5, 1, false, none, 0},
        {-43, -43, 1, false, none, 0},     {0, -25, 2, true, none, 0},
        {0, -120, 2, true, W::Up, 15},     {0, 121, 2, false, none, 0},
        {-75, 0, 2, true, W::Left, 8.5}};
    for (const auto& [dx, dy, scale, inside, step, rate] : cases) {
        const ScrollPadZone zone = scrollPadZone(dx, dy, scale);
        EXPECT_EQ(zone.inside, inside) << dx << " " << dy << " " << scale;
        EXPECT_EQ(zone.step, step) << dx << " " << dy << " " << scale;
        EXPECT_NEAR(zone.rate, rate, 0.1) << dx << " " << dy << " " << scale;
    }
}

// The scroll kind: a rest places the pad; the pointer on it scrolls.
struct ScrollKindTest : DwellEngineTest {
    ScrollKindTest() { app.clickMode = M::Scroll; }
    const std::vector<W>& steps() const { return fake.injector.wheelSteps; }
    std::optional<std::pair<int, int>> pad() const {
        const auto p = engine.scrollPad();
        return p ? std::optional{std::pair{p->x, p->y}} : std::nullopt;
    }
};

TEST_F(ScrollKindTest, ARestPlacesThePadOnceAndThePointerOnItScrollsAtItsRate) {
    at(400, 500, 5);
    EXPECT_EQ(engine.scrollPad(), std::nullopt);
    ASSERT_TRUE(engine.pendingClick());
    EXPECT_EQ(engine.pendingClick()->kind, M::Scroll);
    at(400, 500);
    EXPECT_EQ(pad(), std::pair(400, 500));
    EXPECT_EQ(host.log, Log{"sound"});
    // Resting long in the dead zone, then on the upper part: no new pad, no countdown, no sleep
    // while scrolling, and the rate's steps.
    at(405, 505, 30);
    EXPECT_TRUE(steps().empty());
    at(400, 460, 10);
    EXPECT_FALSE(engine.pendingClick());
    EXPECT_FALSE(engine.idleUntilPointerMoves());
    EXPECT_EQ(pad(), std::pair(400, 500));
    EXPECT_EQ(steps(), std::vector<W>(9, W::Up));  // one at once, then 9.2 a second
    // Lower, left, right, the rim: each way alone, faster further out.
    for (const auto& [x, y, step, count] : {std::tuple{400, 520, W::Down, 4u},
                                            {350, 500, W::Left, 11u},
                                            {430, 500, W::Right, 6u},
                                            {400, 560, W::Down, 14u}}) {
        fake.injector.wheelSteps.clear();
        at(x, y, 10);
        EXPECT_EQ(steps(), std::vector<W>(count, step)) << x << " " << y;
    }
    // Back in the dead zone scrolling stops; out of it again it steps at once.
    fake.injector.wheelSteps.clear();
    at(400, 500, 10);
    EXPECT_TRUE(steps().empty());
    at(400, 520);
    EXPECT_EQ(steps(), std::vector<W>{W::Down});
    EXPECT_EQ(host.log, Log{"sound"});
    EXPECT_TRUE(events().empty());
}

TEST_F(ScrollKindTest, LeavingThePadOrScrollingNoLongerInForceRemovesItAtOnce) {
    // Each way of ending, on the tick it ends, with the pointer on the upper part of a pad placed
    // near the left edge until then.
    const std::function<void()> endings[] = {
        [&] { at(30, 439); },  // out of the pad
        [&] { app.clickMode = M::Pause, at(30, 460); },
        [&] { app.clickMode = M::LeftClick, at(30, 460); },
        [&] { at(0, 500); }};  // on the pad, onto the edge that shows the bar
    for (const auto& end : endings) {
        app.clickMode = M::Scroll;
        host.bar.visible = false;
        at(200, 500);
        at(30, 500, 6);
        ASSERT_TRUE(engine.scrollPad());
        at(30, 460, 3);
        ASSERT_FALSE(steps().empty());
        fake.injector.wheelSteps.clear();
        end();
        EXPECT_EQ(engine.scrollPad(), std::nullopt);
        at(30, 439, 4);
        EXPECT_TRUE(steps().empty());
    }
    // Off the pad nothing scrolls, and the next rest places it afresh.
    app.clickMode = M::Scroll;
    host.bar.visible = false;
    at(400, 420, 6);
    EXPECT_EQ(pad(), std::pair(400, 420));
    EXPECT_TRUE(steps().empty());
    EXPECT_TRUE(events().empty());
}

}  // namespace
}  // namespace tz
