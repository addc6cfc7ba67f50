// A day of random use of the dwell engine with fakes: the promise of one act
// per rest, whatever happens around it.
#include <gtest/gtest.h>

#include <random>

#include "core/engine/DwellEngine.h"
#include "tests/fakes/FakePlatform.h"

namespace tz {
namespace {

// A bar whose commands select left click, as the program's do.
struct Host : EngineHost {
    BarGeometry barGeometry() override { return {0, 4410, 675, 5385, barVisible}; }
    void setBarLeft(double) override {}  // the engine never reads it back
    void placeBarOn(const ScreenArea&) override {}
    void setBarVisible(bool visible) override { barVisible = visible; }
    void makeExitWindow() override {}
    void makeOptionsWindow() override {}
    bool isExitWindowVisible() override { return false; }
    bool isOptionsWindowVisible() override { return false; }
    void activateButton(ClickMode) override { ++commands, app->clickMode = ClickMode::LeftClick; }
    void playClickSound() override {}
    AppState* app = nullptr;
    bool barVisible = false;
    std::size_t commands = 0;
};

// A day of ticks (864,000): the pointer rests, drifts and jumps anywhere, edges and bar
// included, while the click kind, tolerance and delay change, as bar commands and OK do.
TEST(EngineSoak, NoSecondClickOrCommandWhileThePointerStaysPut) {
    std::mt19937 random(1);
    const auto pick = [&](int lo, int hi) { return std::int16_t(lo + random() % (hi - lo + 1)); };
    AppState app;
    fake::FakePlatform fake;
    Host host;
    host.app = &app;
    DwellEngine engine(app, host, fake.pointer, fake.screen, fake.injector);
    const auto acts = [&] { return fake.injector.events.size() + host.commands; };
    PointerPosition at, last;
    bool drifting = false, acted = false;
    for (long tick = 0, restLeft = 0; tick < 864000; ++tick) {
        if (pick(1, 150) == 1) {
            app.clickMode = ClickMode{pick(-1, 12)};
        }
        if (pick(1, 1000) == 1) {
            app.settings.tolerance = pick(0, 10);
            app.settings.delay = pick(2, 20);
        }
        if (restLeft-- == 0) {  // a new place: anywhere, an edge, or over the bar
            const int x[] = {pick(0, 1279), 0, 1279, pick(1, 44)};
            at = {x[pick(0, 3)], pick(0, 1023)};
            restLeft = pick(1, 40);
            drifting = pick(0, 2) == 0;
        }
        const PointerPosition p{at.x + drifting * pick(0, 1), at.y + drifting * pick(0, 1)};
        const bool still = p.x == last.x && p.y == last.y &&
                           app.clickMode != ClickMode::Pause;  // pausing ends a rest too
        const auto actsBefore = acts();
        fake.pointer.at = last = p;
        engine.tick();
        ASSERT_FALSE(still && acted && acts() != actsBefore) << "a second act, tick " << tick;
        acted = still && (acted || acts() != actsBefore);
    }
    EXPECT_GT(fake.injector.events.size(), 2000u);
    EXPECT_GT(host.commands, 100u);
}

}  // namespace
}  // namespace tz
