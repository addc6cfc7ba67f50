// The program dies by SIGKILL at random moments, most of them while the
// pointer sweeps over the click-kind buttons and every new button saves the
// settings; whatever moment it dies at, the settings file holds the eight
// lines of one whole save. TZ_KILL_COUNT sets the number of kills (30 by
// default; `make soak` runs 200).
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <random>
#include <string>
#include <thread>

#include "ProgramFixture.h"

namespace tz::faults {
namespace {

// The settings of the test: those of the fixture with the middle-click button
// shown, so buttons 1 to 6 are all on the bar; line 8 follows.
constexpr const char* kFixedLines = "2\r\n5\r\n0\r\nEnglish.lng\r\n0\r\n1\r\n0\r\n";

// Where button `index` (1 to 6) is on the bar with the middle-click button
// shown: the others as in the usual layout, the middle one below the right one.
Point buttonCentre(int index) {
    if (index == 6) {
        return Rect{0, 288, bar::kWidth, 50}.centre();
    }
    return bar::buttonRect(static_cast<bar::Button>(index)).centre();
}

int killCount() {
    const char* value = std::getenv("TZ_KILL_COUNT");
    const int count = value ? std::atoi(value) : 0;
    return count > 0 ? count : 30;
}

// The file holds lines 1 to 7 as written at the start and a line 8 that one
// of the swept buttons (1 to 6) saved.
::testing::AssertionResult isWholeSave(const std::optional<std::string>& file) {
    if (!file) {
        return ::testing::AssertionFailure() << "the settings file is gone";
    }
    const std::string prefix = kFixedLines;
    if (file->size() == prefix.size() + 3 && file->starts_with(prefix) &&
        file->at(prefix.size()) >= '1' && file->at(prefix.size()) <= '6' &&
        file->ends_with("\r\n")) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "damaged settings file: " << ::testing::PrintToString(*file);
}

class KilledMidWrite : public ProgramFixture {};

TEST_F(KilledMidWrite, SettingsFileAlwaysHoldsOneWholeSave) {
    using Clock = std::chrono::steady_clock;
    sandbox_.writeSettings(std::string(kFixedLines) + "3\r\n");
    const int kills = killCount();
    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));

    int duringStartUp = 0;
    int duringSweep = 0;
    long moves = 0;
    for (int i = 0; i < kills; ++i) {
        x11_.movePointer(kElsewhere);
        ProgramRun run(sandbox_, xvfb_.display());
        BarDriver bar(x11_, run.pid());
        // One kill in five falls anywhere in the start-up, the others in the
        // first second of the sweep; half of those a few milliseconds after a
        // move to another button, when its save is most likely under way.
        const int kind = std::uniform_int_distribution<int>(0, 9)(random);
        const bool killInStartUp = kind < 2;
        const bool killJustAfterMove = kind >= 6;
        const auto delay = std::chrono::milliseconds(
            std::uniform_int_distribution<int>(0, killInStartUp ? 800 : 1000)(random));
        const auto afterMove =
            std::chrono::microseconds(std::uniform_int_distribution<int>(0, 8000)(random));
        const auto started = Clock::now();
        const auto giveUp = started + 30s;
        std::optional<Clock::time_point> killAt;
        if (killInStartUp) {
            killAt = started + delay;
        }

        enum class Phase { Starting, Calling, Sweeping } phase = Phase::Starting;
        std::optional<WindowInfo> shown;
        for (int step = 0; Clock::now() < killAt.value_or(giveUp); ++step) {
            switch (phase) {
                case Phase::Starting:
                    if (const auto b = bar.find(); b &&
                                                   b->mapState == WindowInfo::MapState::Unmapped &&
                                                   x11_.wasMapped(b->id)) {
                        phase = Phase::Calling;
                        x11_.movePointer(0, 512);
                    }
                    break;
                case Phase::Calling:
                    shown = bar.find();
                    if (shown && shown->viewable() && shown->geometry.x == 0) {
                        phase = Phase::Sweeping;
                        if (!killAt) {
                            killAt = Clock::now() + delay;
                        }
                    }
                    break;
                case Phase::Sweeping: {
                    const Point centre = buttonCentre(1 + step % 6);
                    x11_.movePointer(shown->geometry.x + centre.x, shown->geometry.y + centre.y);
                    ++moves;
                    if (killJustAfterMove && Clock::now() + 15ms >= *killAt) {
                        killAt = Clock::now() + afterMove;
                    }
                    break;
                }
            }
            const auto next = Clock::now() + (phase == Phase::Sweeping ? 15ms : 5ms);
            std::this_thread::sleep_until(std::min(next, killAt.value_or(giveUp)));
        }
        ASSERT_TRUE(killAt) << "kill " << i << ": the bar never came up\n"
                            << windows() << run.log();
        (phase == Phase::Sweeping ? duringSweep : duringStartUp)++;
        run.kill();
        ASSERT_TRUE(run.waitForExit(10s)) << "kill " << i << ": the program did not end";
        ASSERT_TRUE(isWholeSave(sandbox_.readSettings())) << "after kill " << i;
    }

    // Temporary files of interrupted saves stay behind; count them for the record.
    int leftOver = 0;
    for (const auto& name : folderEntries(sandbox_.programFolder())) {
        leftOver += name.starts_with(".tindro-zevad-");
    }
    std::cout << "kills: " << kills << " (" << duringStartUp << " in start-up, " << duringSweep
              << " while sweeping; " << moves
              << " button changes), left-over temporary files: " << leftOver << "\n";
}

}  // namespace
}  // namespace tz::faults
