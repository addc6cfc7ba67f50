#pragma once
#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace tz::e2e {

struct SpawnOptions {
    std::string executable;         // absolute path
    std::vector<std::string> args;  // argv, including argv[0]
    // The whole environment; the parent's is inherited when not given.
    std::optional<std::vector<std::string>> environment;
    std::string outputPath = "/dev/null";  // receives stdout and stderr
    std::string workingDir;                // unchanged when empty
    int passFd = -1;                       // when set, given to the child as fd 3
};

// Starts a program without a shell, found on PATH unless the path has a
// slash; the child leads its own process group.
// Throws std::runtime_error when the process cannot be created.
pid_t spawnProcess(const SpawnOptions& options);

// Reaps `pid` if it ends within `timeout`; returns its wait status.
std::optional<int> waitForPid(pid_t pid, std::chrono::milliseconds timeout);

// "exited with 0", "killed by signal 15", ...
std::string describeStatus(int status);

}  // namespace tz::e2e
