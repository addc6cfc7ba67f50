// Checks of the end-to-end harness itself, without the program under test.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "harness/ClickMonitor.h"
#include "harness/ProgramRun.h"
#include "harness/Recorder.h"
#include "harness/Sandbox.h"
#include "harness/Wait.h"
#include "harness/X11Client.h"
#include "harness/XvfbServer.h"

namespace tz::e2e {
namespace {

namespace fs = std::filesystem;

TEST(XvfbServerTest, ParallelServersGetTheirOwnDisplaysAndStopCleanly) {
    pid_t firstPid = -1;
    fs::path firstSocket;
    {
        XvfbServer first;
        XvfbServer second;
        EXPECT_NE(first.display(), second.display());
        for (const XvfbServer* server : {&first, &second}) {
            X11Client client(server->display());
            EXPECT_EQ(client.screen(), (Rect{0, 0, 1280, 1024}));
        }
        firstPid = first.pid();
        firstSocket = "/tmp/.X11-unix/X" + std::to_string(first.displayNumber());
        EXPECT_TRUE(fs::exists(firstSocket));
    }
    // Reaped: the pid is gone, not a zombie, and the server removed its socket.
    EXPECT_EQ(kill(firstPid, 0), -1);
    EXPECT_FALSE(fs::exists(firstSocket));
}

TEST(X11HarnessTest, RecorderAndMonitorSeeFakedButtonsInOrder) {
    XvfbServer xvfb;
    X11Client x11(xvfb.display());
    Recorder recorder(xvfb.display());
    ClickMonitor monitor(xvfb.display());

    const auto listed =
        x11.findWindows([&](const WindowInfo& w) { return w.id == recorder.window(); });
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].geometry, (Rect{400, 300, 300, 200}));
    EXPECT_TRUE(listed[0].viewable());
    EXPECT_TRUE(listed[0].overrideRedirect);
    EXPECT_EQ(listed[0].title, "Target");
    EXPECT_TRUE(x11.wasMapped(recorder.window()));

    x11.movePointer(recorder.centre());
    EXPECT_EQ(x11.pointer(), recorder.centre());
    x11.fakeButton(1, true);
    x11.fakeButton(1, false);
    x11.fakeButton(3, true);
    x11.fakeButton(3, false);
    ASSERT_TRUE(recorder.waitForEvents(4, 5s));
    EXPECT_EQ(recorder.events(),
              (std::vector<ButtonEvent>{press(1), release(1), press(3), release(3)}));

    // Outside the recorder: only the monitor sees the click, with its position.
    x11.movePointer(100, 900);
    x11.fakeButton(2, true);
    x11.fakeButton(2, false);
    std::vector<GlobalButtonEvent> seen;
    ASSERT_TRUE(waitUntil(
        [&] {
            seen = monitor.events();
            return seen.size() >= 6;
        },
        5s));
    ASSERT_EQ(seen.size(), 6u);
    EXPECT_EQ(seen[0].button, 1);
    EXPECT_TRUE(seen[0].pressed);
    EXPECT_EQ(seen[0].at, recorder.centre());
    EXPECT_EQ(seen[3].button, 3);
    EXPECT_FALSE(seen[3].pressed);
    EXPECT_EQ(seen[4].button, 2);
    EXPECT_EQ(seen[4].at, (Point{100, 900}));
    sleepFor(200ms);
    EXPECT_EQ(recorder.events().size(), 4u);

    recorder.clear();
    monitor.clear();
    EXPECT_TRUE(recorder.events().empty());
    EXPECT_TRUE(monitor.events().empty());
}

// A stand-in program folder whose "program" is a small script.
class FakeDist {
  public:
    explicit FakeDist(const std::string& script) {
        root_ = fs::temp_directory_path() / ("tz-e2e-dist-" + std::to_string(getpid()));
        fs::create_directories(root_ / "Lang");
        std::ofstream(root_ / "Lang" / "English.lng", std::ios::binary) << "Exit\r\n";
        const fs::path exe = root_ / Sandbox::kExecutableName;
        std::ofstream(exe) << "#!/bin/sh\n" << script;
        fs::permissions(exe, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    }
    ~FakeDist() { fs::remove_all(root_); }
    const fs::path& path() const { return root_; }

  private:
    fs::path root_;
};

TEST(SandboxTest, CopiesTheProgramFolderKeepsSettingsBytesAndCleansUp) {
    FakeDist dist("exit 0\n");
    fs::path root;
    {
        Sandbox sandbox(dist.path());
        root = sandbox.root();
        EXPECT_EQ(sandbox.readFile("Lang/English.lng"), "Exit\r\n");
        EXPECT_NE(fs::status(sandbox.executable()).permissions() & fs::perms::owner_exec,
                  fs::perms::none);
        EXPECT_EQ(fs::status(sandbox.runtimeDir()).permissions() & fs::perms::all,
                  fs::perms::owner_all);
        EXPECT_TRUE(fs::is_directory(sandbox.configHome()));

        const std::string settings = "2\r\n5\r\n0\r\nEnglish.lng\r\n0\r\n0\r\n0\r\n3\r\n";
        sandbox.writeSettings(settings);
        EXPECT_EQ(sandbox.readSettings(), settings);
        EXPECT_EQ(sandbox.settingsLine(4), "English.lng");
        EXPECT_EQ(sandbox.settingsLine(8), "3");
        EXPECT_EQ(sandbox.settingsLine(9), std::nullopt);

        sandbox.removeFile(Sandbox::kSettingsName);
        EXPECT_EQ(sandbox.readSettings(), std::nullopt);

        sandbox.makeProgramFolderReadOnly();
        EXPECT_EQ(fs::status(sandbox.programFolder()).permissions() & fs::perms::owner_write,
                  fs::perms::none);
    }
    EXPECT_FALSE(fs::exists(root));
}

TEST(ProgramRunTest, StartsWithAFreshEnvironmentAndLogsOutput) {
    FakeDist dist("env\necho \"cwd=$(pwd)\"\nexit 3\n");
    Sandbox sandbox(dist.path());
    setenv("TZ_E2E_MUST_NOT_LEAK", "1", 1);
    ProgramOptions options;
    options.locale = "de_DE.UTF-8";
    options.environment = {{"EXTRA", "yes"}};
    ProgramRun run(sandbox, ":77", options);
    const auto status = run.waitForExit(10s);
    unsetenv("TZ_E2E_MUST_NOT_LEAK");
    ASSERT_TRUE(status.has_value());
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 3);
    EXPECT_FALSE(run.running());

    const std::string log = run.log();
    const std::vector<std::string> expected = {
        "DISPLAY=:77",
        "HOME=" + sandbox.home().string(),
        "XDG_RUNTIME_DIR=" + sandbox.runtimeDir().string(),
        "XDG_CONFIG_HOME=" + sandbox.configHome().string(),
        "TMPDIR=" + sandbox.tmpDir().string(),
        "LANG=de_DE.UTF-8",
        "LC_ALL=de_DE.UTF-8",
        "QT_QPA_PLATFORM=xcb",
        "EXTRA=yes",
        "cwd=" + sandbox.home().string(),
    };
    for (const std::string& line : expected) {
        EXPECT_NE(log.find(line + "\n"), std::string::npos) << line << " missing in:\n" << log;
    }
    EXPECT_EQ(log.find("TZ_E2E_MUST_NOT_LEAK"), std::string::npos);
}

TEST(ProgramRunTest, StopEndsAProgramThatKeepsRunning) {
    FakeDist dist("exec sleep 60\n");
    Sandbox sandbox(dist.path());
    ProgramRun run(sandbox, ":77");
    EXPECT_TRUE(run.running());
    EXPECT_FALSE(run.waitForExit(200ms).has_value());
    const auto status = run.stop();
    ASSERT_TRUE(status.has_value());
    EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == SIGTERM);
    EXPECT_EQ(kill(run.pid(), 0), -1);
}

}  // namespace
}  // namespace tz::e2e
