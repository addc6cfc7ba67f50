#include "harness/ProgramRun.h"

#include <signal.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>

#include "harness/Process.h"
#include "harness/Sandbox.h"

namespace tz::e2e {

ProgramRun::ProgramRun(Sandbox& sandbox, const std::string& display, ProgramOptions options)
    : logPath_(sandbox.newLogPath("program")) {
    std::map<std::string, std::string> env = {
        {"DISPLAY", display},
        {"HOME", sandbox.home().string()},
        {"XDG_RUNTIME_DIR", sandbox.runtimeDir().string()},
        {"XDG_CONFIG_HOME", sandbox.configHome().string()},
        {"TMPDIR", sandbox.tmpDir().string()},
        {"PATH", "/usr/local/bin:/usr/bin:/bin"},
        {"LANG", options.locale},
        {"LC_ALL", options.locale},
        {"QT_QPA_PLATFORM", "xcb"},
    };
    // Sanitizer settings of the test run apply to the program too.
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"}) {
        if (const char* value = std::getenv(name)) {
            env[name] = value;
        }
    }
    for (const auto& [name, value] : options.environment) {
        env[name] = value;
    }

    SpawnOptions spawn;
    spawn.executable =
        (options.executable.empty() ? sandbox.executable() : options.executable).string();
    spawn.args = {spawn.executable};
    spawn.args.insert(spawn.args.end(), options.arguments.begin(), options.arguments.end());
    spawn.environment.emplace();
    for (const auto& [name, value] : env) {
        spawn.environment->push_back(name + "=" + value);
    }
    spawn.outputPath = logPath_.string();
    // Started from elsewhere than its folder, as from a desktop launcher.
    spawn.workingDir = sandbox.home().string();
    pid_ = spawnProcess(spawn);
}

ProgramRun::~ProgramRun() {
    if (running()) {
        stop();
    }
}

bool ProgramRun::running() {
    return !status_ && !waitForExit(std::chrono::milliseconds(0));
}

std::optional<int> ProgramRun::waitForExit(std::chrono::milliseconds timeout) {
    if (!status_) {
        status_ = waitForPid(pid_, timeout);
    }
    return status_;
}

void ProgramRun::terminate() {
    if (!status_) {
        ::kill(pid_, SIGTERM);
    }
}

void ProgramRun::kill() {
    if (!status_) {
        ::kill(-pid_, SIGKILL);
    }
}

std::optional<int> ProgramRun::stop(std::chrono::milliseconds grace) {
    terminate();
    if (!waitForExit(grace)) {
        kill();
        waitForExit(std::chrono::seconds(5));
    }
    return status_;
}

std::string ProgramRun::log() const {
    std::ifstream in(logPath_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void stopRuns(const std::vector<std::unique_ptr<ProgramRun>>& runs, bool printLogs) {
    for (const auto& run : runs) {
        const auto status = run->stop();
        if (printLogs) {
            std::cerr << "---- program log " << run->logPath() << " ("
                      << (status ? describeStatus(*status) : "still running") << ")\n"
                      << run->log() << "---- end of log\n";
        }
    }
}

}  // namespace tz::e2e
