#pragma once
#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace tz::e2e {

// A private Xvfb (1280x1024x24, no TCP). The server picks a free display number
// itself (-displayfd), so parallel runs cannot collide. Stopped and reaped on
// destruction.
class XvfbServer {
  public:
    explicit XvfbServer(std::chrono::milliseconds startTimeout = std::chrono::seconds(15));
    // Another X server: `args` starts with its program name ("Xvfb",
    // "Xephyr") and holds its options, without -displayfd. A nested server
    // such as Xephyr shows its screens on `outerDisplay`.
    XvfbServer(std::vector<std::string> args, const std::string& outerDisplay = {},
               std::chrono::milliseconds startTimeout = std::chrono::seconds(15));
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    const std::string& display() const { return display_; }  // ":N"
    int displayNumber() const { return number_; }
    pid_t pid() const { return pid_; }

  private:
    pid_t pid_ = -1;
    int number_ = -1;
    std::string display_;
};

}  // namespace tz::e2e
