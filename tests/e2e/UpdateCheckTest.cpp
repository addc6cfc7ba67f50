// The update check at start-up against a version file server on this
// machine: the question about a newer release and both answers, no question
// for the same release, and servers that never answer or send far too much.
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "ProgramFixture.h"
#include "harness/VersionServer.h"

namespace tz::e2e {
namespace {

namespace fs = std::filesystem;

constexpr const char* kNewer = "001008002";
constexpr const char* kSame = "001008001";
constexpr const char* kUpdateTitle = "Update available";

class UpdateCheckTest : public ProgramFixture {
  protected:
    UpdateCheckTest() {
        // The desktop's opener, recording the Qt settings in its environment,
        // then each argument on a line of its own.
        fs::create_directories(bin());
        std::ofstream script(bin() / "xdg-open");
        script << "#!/bin/sh\nenv | grep '^QT_' | sort > '" << openerQtSettings().string()
               << "'\nprintf '%s\\n' \"$@\" >> '" << opened().string() << "'\n";
        script.close();
        fs::permissions(bin() / "xdg-open", fs::perms::owner_all);
    }

    fs::path bin() const { return sandbox_.root() / "bin"; }
    fs::path opened() const { return sandbox_.root() / "opened.txt"; }
    fs::path openerQtSettings() const { return sandbox_.root() / "opener-qt.txt"; }

    // The user's own Qt platform choice, which the program overrides for itself.
    ProgramOptions withRecordingOpener() const {
        ProgramOptions options;
        options.environment = {{"PATH", bin().string() + ":/usr/local/bin:/usr/bin:/bin"},
                               {"QT_QPA_PLATFORM", "wayland;xcb"}};
        return options;
    }

    bool updateQuestionShown(pid_t pid) {
        return !x11_.findWindows([&](const WindowInfo& w) {
                        return w.pid == pid && w.title == kUpdateTitle;
                    })
                    .empty();
    }
};

TEST_F(UpdateCheckTest, NewerReleaseIsAskedAboutAndNoGoesOnToParkTheBarAndClick) {
    VersionServer server(sandbox_.programFolder(), VersionServer::Behaviour::Answer, kNewer);
    ProgramRun& run = start(withRecordingOpener());
    const auto box = waitForTitle(run.pid(), kUpdateTitle);
    ASSERT_TRUE(box) << "no update question\n" << windows();
    EXPECT_EQ(server.requests(), 1);
    const auto bar = bar_->find();
    EXPECT_FALSE(bar && bar->viewable()) << "the bar showed before the answer";
    // Yes and No, in the order Qt gives them with no desktop named in the
    // environment: Yes on the left. A rest answers: the left click is in force.
    const auto buttons = waitForButtons(*box, 2);
    ASSERT_EQ(buttons.size(), 2u) << "expected Yes and No on " << *box;

    x11_.movePointer(buttons[1].centre());
    ASSERT_TRUE(waitGone(box->id)) << "No left the question open\n" << windows();
    ASSERT_TRUE(bar_->waitParked(20s)) << windows();
    EXPECT_EQ(restAt(recorder_.centre(), 2), (std::vector<ButtonEvent>{press(1), release(1)}));
    EXPECT_FALSE(fs::exists(opened())) << "something was opened after No";
}

TEST_F(UpdateCheckTest, YesOpensTheProductPageAndEndsWithoutEverShowingTheBar) {
    VersionServer server(sandbox_.programFolder(), VersionServer::Behaviour::Answer, kNewer);
    ProgramRun& run = start(withRecordingOpener());
    const auto box = waitForTitle(run.pid(), kUpdateTitle);
    ASSERT_TRUE(box) << "no update question\n" << windows();
    const auto buttons = waitForButtons(*box, 2);
    ASSERT_EQ(buttons.size(), 2u) << "expected Yes and No on " << *box;

    x11_.movePointer(buttons[0].centre());
    const auto status = run.waitForExit(10s);
    ASSERT_TRUE(status) << "Yes did not end the program\n" << windows();
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << describeStatus(*status);

    std::string page;
    EXPECT_TRUE(waitUntil(
        [&] {
            std::ifstream in(opened());
            page.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            return !page.empty();
        },
        5s))
        << "nothing was handed to xdg-open";
    EXPECT_TRUE(page.starts_with("https://") && page.ends_with("tindro-mouse.html\n") &&
                page.find('\n') == page.size() - 1)
        << "xdg-open got: " << page;
    // The opener runs in the user's environment, not with the program's Qt settings.
    std::ifstream qtSettings(openerQtSettings());
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(qtSettings), {}),
              "QT_QPA_PLATFORM=wayland;xcb\n");

    // The question was the only window the program ever mapped.
    for (const auto& e : x11_.windowEvents()) {
        if (e.kind == WindowEvent::Kind::Mapped) {
            EXPECT_TRUE(e.window == box->id || e.window == recorder_.window())
                << "another window was shown: 0x" << std::hex << e.window;
        }
    }
}

TEST_F(UpdateCheckTest, SameReleaseAsksNothingAndASecondStartDoesNotCheck) {
    VersionServer server(sandbox_.programFolder(), VersionServer::Behaviour::Answer, kSame);
    ProgramRun& first = start(withRecordingOpener());
    ASSERT_TRUE(bar_->waitParked(20s)) << windows();
    EXPECT_EQ(server.requests(), 1);
    EXPECT_FALSE(updateQuestionShown(first.pid()));

    // The second start's message comes before its update check would; a
    // rest on OK lets the first instance answer it.
    ProgramRun& second = start(withRecordingOpener(), /*followBar=*/false);
    const auto box = waitForTitle(second.pid(), kProgramName);
    ASSERT_TRUE(box) << "no message from the second start\n" << windows();
    const auto buttons = waitForButtons(*box, 1);
    ASSERT_EQ(buttons.size(), 1u) << *box;
    ASSERT_TRUE(restAndClick(buttons[0].centre())) << clicks();
    ASSERT_TRUE(second.waitForExit(10s)) << "the second start did not end\n" << windows();
    sleepFor(300ms);
    EXPECT_EQ(server.requests(), 1) << "the second start asked for the version";
    EXPECT_TRUE(first.running());
}

TEST_F(UpdateCheckTest, ServerThatNeverAnswersStillLetsTheBarParkWithinTheBound) {
    VersionServer server(sandbox_.programFolder(), VersionServer::Behaviour::Silent);
    ProgramRun& run = start(withRecordingOpener());
    EXPECT_TRUE(server.waitForRequests(1, 10s)) << "the program did not ask";
    // The check gives up after 5 s; 15 s from the start leaves a wide margin.
    ASSERT_TRUE(bar_->waitParked(15s)) << "the bar did not park while the server kept silent\n"
                                       << windows();
    EXPECT_FALSE(updateQuestionShown(run.pid()));
}

TEST_F(UpdateCheckTest, MegabytesOfVersionFileAreNoNewsAndTakeNoMemory) {
    long usual = -1;
    {
        VersionServer server(sandbox_.programFolder(), VersionServer::Behaviour::Answer, kSame);
        ProgramRun& run = start(withRecordingOpener());
        ASSERT_TRUE(bar_->waitParked(20s)) << windows();
        usual = procStatus(run.pid(), "VmHWM:");
        ASSERT_GT(usual, 0);
        ASSERT_TRUE(run.stop());
    }

    // A newer code at the front, then 64 MiB more without a length.
    constexpr std::size_t kFlood = 64u * 1024 * 1024;
    VersionServer server(sandbox_.programFolder(), VersionServer::Behaviour::Flood, kNewer, kFlood);
    ProgramRun& run = start(withRecordingOpener());
    ASSERT_TRUE(bar_->waitParked(20s)) << "no park after the flood\n" << windows();
    EXPECT_FALSE(updateQuestionShown(run.pid())) << "a long version file counted as news";
    EXPECT_EQ(server.requests(), 1);
    EXPECT_TRUE(server.peerLeftEarly()) << "the program read " << server.bytesSent() << " bytes";
    EXPECT_LT(server.bytesSent(), kFlood);
    const long flooded = procStatus(run.pid(), "VmHWM:");
    EXPECT_LT(flooded, usual + 8 * 1024) << "peak memory " << usual << " KiB after a usual start, "
                                         << flooded << " KiB after the flood";
}

}  // namespace
}  // namespace tz::e2e
