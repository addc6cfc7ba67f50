#include "platform/posix/FetchHelperProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

extern char** environ;

namespace tz {

FetchHelperProcess::FetchHelperProcess(std::string helperPath, std::chrono::milliseconds timeBound,
                                       std::size_t bodyCap)
    : helperPath_(std::move(helperPath)), timeBound_(timeBound), bodyCap_(bodyCap) {}

std::string FetchHelperProcess::fetch(const std::string& url, const std::string& agent) {
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) {
        return {};
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    std::vector<char*> argv{helperPath_.data(), const_cast<char*>(url.c_str()),
                            const_cast<char*>(agent.c_str()), nullptr};
    pid_t child = -1;
    const int spawned =
        posix_spawn(&child, helperPath_.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        return {};
    }

    // Read until the helper closes its output, the cap is passed or time runs out.
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + timeBound_;
    const auto millisLeft = [&deadline] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now())
            .count();
    };
    std::string body;
    bool outputEnded = false;
    while (!outputEnded && body.size() <= bodyCap_ && millisLeft() > 0) {
        pollfd fd{out[0], POLLIN, 0};
        const int ready = poll(&fd, 1, static_cast<int>(millisLeft()));
        if (ready < 0 && errno != EINTR) {
            break;
        }
        if (ready <= 0) {
            continue;
        }
        char buffer[1024];
        const ssize_t n = read(out[0], buffer, sizeof buffer);
        if (n < 0 && errno != EINTR) {
            break;
        }
        outputEnded = n == 0;
        body.append(buffer, static_cast<std::size_t>(n > 0 ? n : 0));
    }
    close(out[0]);

    // The helper has until the same deadline to exit; then it is killed.
    int status = 0;
    pid_t ended = 0;
    while ((ended = waitpid(child, &status, WNOHANG)) == 0 && millisLeft() > 0) {
        usleep(5000);
    }
    if (ended == 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        return {};
    }
    const bool succeeded = ended == child && outputEnded && body.size() <= bodyCap_ &&
                           WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return succeeded ? body : std::string();
}

}  // namespace tz
