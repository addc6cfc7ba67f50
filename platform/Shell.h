#pragma once
#include <string>
#include <vector>

namespace tz {

// The desktop's own handlers: open a file or web address with the user's
// default program, or start a command as a separate process. Never waits,
// never reports failure.
class Shell {
  public:
    virtual ~Shell() = default;
    virtual void open(const std::string& pathOrUrl) = 0;
    // Starts argv[0] with the given arguments, without a shell in between.
    virtual bool start(const std::vector<std::string>& argv) = 0;
    // The running desktop's names (XDG_CURRENT_DESKTOP), such as "GNOME" or "KDE".
    virtual std::string currentDesktop() = 0;
};

}  // namespace tz
