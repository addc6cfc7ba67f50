// The program dies by SIGKILL at random moments, most of them while the
// pointer sweeps over the click-kind buttons and every new button saves the
// settings; whatever moment it dies at, the settings file holds the eight
// lines of one whole save. TZ_KILL_COUNT sets the number of kills (30 by
// default; `make soak` runs 200).
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <random>
#include <string>
#include <string_view>
#include <thread>

#include "ProgramFixture.h"

namespace tz::e2e {
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

// Sees the temporary files that saves create in the program folder.
class SaveWatch {
  public:
    explicit SaveWatch(const std::filesystem::path& folder)
        : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        inotify_add_watch(fd_, folder.c_str(), IN_CREATE);
    }
    ~SaveWatch() { ::close(fd_); }
    SaveWatch(const SaveWatch&) = delete;
    SaveWatch& operator=(const SaveWatch&) = delete;

    void drain() {
        while (waitForSave(0ms)) {
        }
    }
    // True when a save's temporary file appeared within `timeout`.
    bool waitForSave(std::chrono::milliseconds timeout) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(timeout.count())) <= 0) {
            return false;
        }
        alignas(inotify_event) char buffer[4096];
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        bool save = false;
        for (char* at = buffer; n > 0 && at < buffer + n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(at);
            save = save || (event->len > 0 && std::string_view(event->name).starts_with(".tindro"));
            at += sizeof(inotify_event) + event->len;
        }
        return save;
    }

  private:
    int fd_;
};

class KilledMidWrite : public ProgramFixture {
  protected:
    // True once `bar` has been mapped and unmapped again after the first
    // `from` window events. The X server gives a new program the window ids
    // of one it lost, so a killed run's map events would otherwise count.
    bool parkedSince(std::size_t from, unsigned long bar) {
        const auto events = x11_.windowEvents();
        bool mapped = false;
        for (std::size_t k = from; k < events.size(); ++k) {
            if (events[k].window == bar) {
                mapped = mapped || events[k].kind == WindowEvent::Kind::Mapped;
                if (mapped && events[k].kind == WindowEvent::Kind::Unmapped) {
                    return true;
                }
            }
        }
        return false;
    }
};

TEST_F(KilledMidWrite, SettingsFileAlwaysHoldsOneWholeSave) {
    using Clock = std::chrono::steady_clock;
    sandbox_.writeSettings(std::string(kFixedLines) + "3\r\n");
    const int kills = killCount();
    const char* seedText = std::getenv("TZ_KILL_SEED");
    const unsigned seed = seedText ? static_cast<unsigned>(std::strtoul(seedText, nullptr, 10))
                                   : std::random_device{}();
    std::mt19937 random(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));
    SaveWatch saves(sandbox_.programFolder());

    // A fifth of the kills fall anywhere in the start-up; the others in the
    // first second of the sweep, half of them at once when a save has
    // created its temporary file and not yet renamed it.
    enum class Kind { StartUp, Sweep, InSave };
    int killsOf[3] = {};
    long moves = 0;
    for (int i = 0; i < kills; ++i) {
        const int dice = std::uniform_int_distribution<int>(0, 9)(random);
        const Kind kind = dice < 2 ? Kind::StartUp : dice < 6 ? Kind::Sweep : Kind::InSave;
        const auto delay = std::chrono::milliseconds(
            std::uniform_int_distribution<int>(0, kind == Kind::StartUp ? 800 : 1000)(random));

        x11_.movePointer(kElsewhere);
        const std::size_t eventsBefore = x11_.windowEvents().size();
        ProgramRun run(sandbox_, xvfb_.display());
        BarDriver bar(x11_, run.pid());
        const auto started = Clock::now();
        const auto giveUp = started + 30s;
        std::optional<Clock::time_point> killAt;
        if (kind == Kind::StartUp) {
            killAt = started + delay;
        }
        enum class Phase { Starting, Calling, Sweeping } phase = Phase::Starting;
        std::optional<WindowInfo> shown;
        bool killNow = false;
        for (int step = 0; !killNow && Clock::now() < killAt.value_or(giveUp); ++step) {
            auto pause = 5ms;
            switch (phase) {
                case Phase::Starting:
                    if (const auto b = bar.find();
                        b && !b->viewable() && parkedSince(eventsBefore, b->id)) {
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
                    const bool armed = kind == Kind::InSave && Clock::now() + 15ms >= *killAt;
                    if (armed) {
                        saves.drain();
                        killAt = giveUp;
                    }
                    x11_.movePointer(shown->geometry.x + centre.x, shown->geometry.y + centre.y);
                    ++moves;
                    if (armed || killAt == giveUp) {
                        killNow = saves.waitForSave(15ms);
                        pause = 0ms;
                    } else {
                        pause = 15ms;
                    }
                    break;
                }
            }
            std::this_thread::sleep_until(std::min(Clock::now() + pause, killAt.value_or(giveUp)));
        }
        ASSERT_TRUE(killAt) << "kill " << i << ": the bar never came up\n"
                            << windows() << run.log();
        ASSERT_TRUE(killNow || Clock::now() < giveUp)
            << "kill " << i << ": no save seen while sweeping\n"
            << windows() << run.log();
        run.kill();
        ++killsOf[static_cast<int>(kind)];
        ASSERT_TRUE(run.waitForExit(10s)) << "kill " << i << ": the program did not end";
        ASSERT_TRUE(isWholeSave(sandbox_.readSettings())) << "after kill " << i;
    }

    // Temporary files of interrupted saves stay behind; count them for the record.
    int leftOver = 0;
    for (const auto& name : folderEntries(sandbox_.programFolder())) {
        leftOver += name.starts_with(".tindro-zevad-");
    }
    std::cout << "kills: " << kills << " (" << killsOf[0] << " in start-up, " << killsOf[1]
              << " while sweeping, " << killsOf[2] << " on a save's temporary file; " << moves
              << " button changes), temporary files left by interrupted saves: " << leftOver
              << "\n";
}

}  // namespace
}  // namespace tz::e2e
