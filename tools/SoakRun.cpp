// Minutes of ordinary use of the real program under Xvfb: the pointer sweeps
// the screen, rests on a target (which clicks), and now and then calls up the
// bar and chooses another click kind (which saves the settings). At the end
// the program's resident memory must be within 1 MiB of what it was after the
// first minute, and it must hold no more open files. TZ_SOAK_MINUTES sets the
// length (10 by default). Run by `make soak`, not by `make test`.
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <iterator>

#include "ProgramFixture.h"

namespace tz::e2e {
namespace {

using Clock = std::chrono::steady_clock;

// Resident memory (VmRSS) and its peak (VmHWM) in KiB, and open descriptors.
struct ProcessFigures {
    long rssKiB = -1;
    long peakKiB = -1;
    long openFiles = -1;
};

ProcessFigures processFigures(pid_t pid) {
    const auto fds = std::filesystem::path("/proc") / std::to_string(pid) / "fd";
    std::error_code error;
    const auto count = std::distance(std::filesystem::directory_iterator(fds, error), {});
    return {procStatus(pid, "VmRSS:"), procStatus(pid, "VmHWM:"), error ? -1 : long(count)};
}

// Sounds on: with no sound server in the sandbox the program tries to reach
// one now and then and beeps instead, which must not leak either.
constexpr const char* kSoundsOn = "2\r\n5\r\n0\r\nEnglish.lng\r\n1\r\n0\r\n0\r\n3\r\n";

int minutes() {
    const char* value = std::getenv("TZ_SOAK_MINUTES");
    const int m = value ? std::atoi(value) : 0;
    return m > 0 ? m : 10;
}

class SoakRun : public ProgramFixture {
  protected:
    // Sweeps the pointer along a circle around the screen's middle, 20 moves a second.
    void sweep(std::chrono::milliseconds duration) {
        const auto end = Clock::now() + duration;
        while (Clock::now() < end) {
            angle_ += 0.15;
            x11_.movePointer(640 + static_cast<int>(400 * std::cos(angle_)),
                             512 + static_cast<int>(350 * std::sin(angle_)));
            sleepFor(50ms);
        }
    }

    double angle_ = 0;
};

TEST_F(SoakRun, MemoryAndOpenFilesStayFlat) {
    sandbox_.writeSettings(kSoundsOn);
    ASSERT_NO_FATAL_FAILURE(startParked());
    const pid_t pid = runs_.back()->pid();
    const auto started = Clock::now();
    const auto end = started + std::chrono::minutes(minutes());

    static constexpr bar::Button kKinds[] = {bar::Button::Right, bar::Button::Double,
                                             bar::Button::Left};
    static constexpr size_t kEventsOf[] = {2, 4, 2};
    size_t kind = 2;
    long rests = 0, clicked = 0, choices = 0;
    std::optional<ProcessFigures> firstMinute;
    int minute = 0;
    std::cout << "minute   VmRSS KiB   VmHWM KiB   open files   rests clicked\n";
    for (long cycle = 0; Clock::now() < end; ++cycle) {
        sweep(2s);
        const Point spot{recorder_.geometry().x + 30 + static_cast<int>(cycle % 5) * 40,
                         recorder_.centre().y + static_cast<int>(cycle % 3) * 30 - 30};
        const auto events = restAt(spot, kEventsOf[kind], 3s);
        ++rests;
        clicked += !events.empty() && events.front().pressed;
        if (cycle % 4 == 3) {
            kind = (kind + 1) % std::size(kKinds);
            if (bar_->moveOnto(kKinds[kind], 10s)) {
                sleepFor(300ms);
                ++choices;
            }
            x11_.movePointer(kElsewhere);
        }

        const auto elapsed = Clock::now() - started;
        if (elapsed >= std::chrono::minutes(minute + 1)) {
            ++minute;
            const auto figures = processFigures(pid);
            if (!firstMinute) {
                firstMinute = figures;
            }
            std::cout << std::setw(6) << minute << std::setw(12) << figures.rssKiB << std::setw(12)
                      << figures.peakKiB << std::setw(13) << figures.openFiles << std::setw(8)
                      << rests << std::setw(8) << clicked << std::endl;
        }
    }
    ASSERT_TRUE(runs_.back()->running()) << "the program ended during the run";
    const auto last = processFigures(pid);
    ASSERT_TRUE(firstMinute);
    std::cout << "after the first minute: " << firstMinute->rssKiB << " KiB, "
              << firstMinute->openFiles << " files; at the end: " << last.rssKiB << " KiB, "
              << last.openFiles << " files; " << choices << " click kinds chosen\n";
    EXPECT_LE(std::abs(last.rssKiB - firstMinute->rssKiB), 1024);
    EXPECT_LE(last.openFiles, firstMinute->openFiles);
    EXPECT_EQ(clicked, rests) << "some rests did not click";
    EXPECT_TRUE(otherProgramWindows().empty()) << windows();
}

}  // namespace
}  // namespace tz::e2e
