#include "harness/Process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <thread>

namespace tz::e2e {

namespace {

std::vector<char*> pointers(std::vector<std::string>& strings) {
    std::vector<char*> result;
    result.reserve(strings.size() + 1);
    for (auto& s : strings) {
        result.push_back(s.data());
    }
    result.push_back(nullptr);
    return result;
}

// Runs in the forked child: only async-signal-safe calls.
[[noreturn]] void execChild(const char* executable, char* const* argv, char* const* envp,
                            const char* outputPath, const char* workingDir, int passFd) {
    setpgid(0, 0);
    if (passFd >= 0) {
        if (passFd == 3) {
            fcntl(3, F_SETFD, 0);
        } else if (dup2(passFd, 3) < 0) {
            _exit(126);
        }
    }
    const int in = open("/dev/null", O_RDONLY);
    const int out = open(outputPath, O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (in < 0 || out < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 || dup2(out, 2) < 0) {
        _exit(126);
    }
    const unsigned firstToClose = passFd >= 0 ? 4 : 3;
    if (close_range(firstToClose, ~0U, 0) != 0) {
        for (int fd = static_cast<int>(firstToClose); fd < 1024; ++fd) {
            close(fd);
        }
    }
    if (workingDir[0] != '\0' && chdir(workingDir) != 0) {
        _exit(126);
    }
    // Signal dispositions and the mask are inherited; give the child defaults.
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    signal(SIGPIPE, SIG_DFL);
    if (envp != nullptr) {
        execve(executable, argv, envp);
    } else {
        execv(executable, argv);
    }
    _exit(127);
}

}  // namespace

pid_t spawnProcess(const SpawnOptions& options) {
    // Everything the child needs is prepared before fork.
    std::vector<std::string> args = options.args;
    if (args.empty()) {
        args.push_back(options.executable);
    }
    std::vector<char*> argv = pointers(args);
    std::vector<std::string> env = options.environment.value_or(std::vector<std::string>{});
    std::vector<char*> envp = pointers(env);

    const pid_t pid = fork();
    if (pid < 0) {
        throw std::runtime_error(std::string("fork failed: ") + std::strerror(errno));
    }
    if (pid == 0) {
        execChild(options.executable.c_str(), argv.data(),
                  options.environment ? envp.data() : nullptr, options.outputPath.c_str(),
                  options.workingDir.c_str(), options.passFd);
    }
    setpgid(pid, pid);  // also from the parent, so a kill of the group cannot race the child
    return pid;
}

std::optional<int> waitForPid(pid_t pid, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        int status = 0;
        const pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid) {
            return status;
        }
        if (r < 0 && errno != EINTR) {
            return std::nullopt;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

std::string findOnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string dirs = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        const size_t end = std::min(dirs.find(':', start), dirs.size());
        const std::filesystem::path candidate =
            std::filesystem::path(dirs.substr(start, end - start)) / name;
        if (access(candidate.c_str(), X_OK) == 0) {
            return candidate.string();
        }
        start = end + 1;
    }
    return {};
}

std::string describeStatus(int status) {
    if (WIFEXITED(status)) {
        return "exited with " + std::to_string(WEXITSTATUS(status));
    }
    if (WIFSIGNALED(status)) {
        return "killed by signal " + std::to_string(WTERMSIG(status)) + " (" +
               strsignal(WTERMSIG(status)) + ")";
    }
    return "wait status " + std::to_string(status);
}

}  // namespace tz::e2e
