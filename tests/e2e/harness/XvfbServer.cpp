#include "harness/XvfbServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <stdexcept>

#include "harness/Process.h"

namespace tz::e2e {

namespace {

void stop(pid_t pid) {
    kill(pid, SIGTERM);
    if (!waitForPid(pid, std::chrono::seconds(5))) {
        kill(pid, SIGKILL);
        waitForPid(pid, std::chrono::seconds(5));
    }
}

}  // namespace

XvfbServer::XvfbServer(std::chrono::milliseconds startTimeout)
    : XvfbServer({"Xvfb", "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"}, {},
                 startTimeout) {}

XvfbServer::XvfbServer(std::vector<std::string> args, const std::string& outerDisplay,
                       std::chrono::milliseconds startTimeout) {
    const std::string server = args.at(0);  // on PATH (Debian packages xvfb, xserver-xephyr)
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe2 failed");
    }
    SpawnOptions options;
    options.executable = server;
    options.args = std::move(args);
    options.args.insert(options.args.begin() + 1, {"-displayfd", "3"});
    if (!outerDisplay.empty()) {
        options.environment.emplace();
        for (char** e = environ; *e != nullptr; ++e) {
            if (std::string(*e).rfind("DISPLAY=", 0) != 0) {
                options.environment->push_back(*e);
            }
        }
        options.environment->push_back("DISPLAY=" + outerDisplay);
    }
    options.passFd = fds[1];
    try {
        pid_ = spawnProcess(options);
    } catch (...) {
        close(fds[0]);
        close(fds[1]);
        throw;
    }
    close(fds[1]);

    // Xvfb writes the display number and a newline once it accepts connections.
    std::string text;
    const auto deadline = std::chrono::steady_clock::now() + startTimeout;
    while (text.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd pfd{fds[0], POLLIN, 0};
        if (left.count() <= 0 || poll(&pfd, 1, static_cast<int>(left.count())) <= 0) {
            break;
        }
        char buf[32];
        const ssize_t n = read(fds[0], buf, sizeof buf);
        if (n <= 0) {
            break;
        }
        text.append(buf, static_cast<size_t>(n));
    }
    close(fds[0]);

    try {
        if (text.find('\n') == std::string::npos) {
            throw std::runtime_error("the server did not report a display number");
        }
        number_ = std::stoi(text);
    } catch (const std::exception& e) {
        stop(pid_);
        throw std::runtime_error(server + " failed to start: " + e.what());
    }
    display_ = ":" + std::to_string(number_);
}

XvfbServer::~XvfbServer() {
    stop(pid_);
}

}  // namespace tz::e2e
