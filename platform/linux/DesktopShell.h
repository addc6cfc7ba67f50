#pragma once
#include <QProcessEnvironment>

#include "platform/Shell.h"

namespace tz {

// Opens files and addresses with xdg-open, the desktop's own opener, and
// starts commands as detached processes. The programs it starts get the
// environment as it was when this object was made, so one made before the
// program changes its own environment passes on the user's, not the
// program's settings.
class DesktopShell : public Shell {
  public:
    DesktopShell();
    void open(const std::string& pathOrUrl) override;
    bool start(const std::vector<std::string>& argv) override;
    std::string currentDesktop() override;

  private:
    QProcessEnvironment environment_;
};

}  // namespace tz
