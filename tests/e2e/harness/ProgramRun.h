#pragma once
#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tz::e2e {

class Sandbox;

struct ProgramOptions {
    std::string locale = "C.UTF-8";  // LANG and LC_ALL
    // Extra environment variables; they replace defaults of the same name.
    std::vector<std::pair<std::string, std::string>> environment;
    std::vector<std::string> arguments;
    // The program to start; the sandbox's executable when empty.
    std::filesystem::path executable;
};

// One run of the program in a sandbox, with an environment built from scratch
// and stdout/stderr going to a log file in the sandbox. A run still going on
// destruction gets SIGTERM, then SIGKILL.
class ProgramRun {
  public:
    ProgramRun(Sandbox& sandbox, const std::string& display, ProgramOptions options = {});
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    pid_t pid() const { return pid_; }
    bool running();
    // The wait status once the program has ended within `timeout`.
    std::optional<int> waitForExit(std::chrono::milliseconds timeout);
    std::optional<int> exitStatus() const { return status_; }
    void terminate();  // SIGTERM
    void kill();       // SIGKILL to the whole process group
    // SIGTERM, then SIGKILL after `grace`; returns the wait status.
    std::optional<int> stop(std::chrono::milliseconds grace = std::chrono::seconds(5));

    const std::filesystem::path& logPath() const { return logPath_; }
    std::string log() const;

  private:
    pid_t pid_ = -1;
    std::optional<int> status_;
    std::filesystem::path logPath_;
};

// Stops every run; when `printLogs`, writes each run's log to stderr (for a
// failed test).
void stopRuns(const std::vector<std::unique_ptr<ProgramRun>>& runs, bool printLogs);

}  // namespace tz::e2e
