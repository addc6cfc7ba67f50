#pragma once
#include "platform/Shell.h"

namespace tz {

// Opens files and addresses with xdg-open, the desktop's own opener, and
// starts commands as detached processes.
class DesktopShell : public Shell {
  public:
    void open(const std::string& pathOrUrl) override;
    bool start(const std::vector<std::string>& argv) override;
    std::string currentDesktop() override;
};

}  // namespace tz
