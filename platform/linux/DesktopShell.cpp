#include "platform/linux/DesktopShell.h"

#include <QProcess>
#include <QStringList>
#include <cstdlib>

namespace tz {

void DesktopShell::open(const std::string& pathOrUrl) {
    start({"xdg-open", pathOrUrl});
}

bool DesktopShell::start(const std::vector<std::string>& argv) {
    if (argv.empty()) {
        return false;
    }
    QStringList arguments;
    for (std::size_t i = 1; i < argv.size(); ++i) {
        arguments << QString::fromStdString(argv[i]);
    }
    // Detached: the program never waits for the browser or the settings tool.
    return QProcess::startDetached(QString::fromStdString(argv[0]), arguments);
}

}  // namespace tz

namespace tz {

std::string DesktopShell::currentDesktop() {
    const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
    return desktop ? desktop : "";
}

}  // namespace tz
