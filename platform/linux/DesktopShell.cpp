#include "platform/linux/DesktopShell.h"

#include <QProcess>
#include <QStringList>
#include <cstdlib>

namespace tz {

DesktopShell::DesktopShell() : environment_(QProcessEnvironment::systemEnvironment()) {}

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
    QProcess process;
    process.setProgram(QString::fromStdString(argv[0]));
    process.setArguments(arguments);
    process.setProcessEnvironment(environment_);
    return process.startDetached();
}

std::string DesktopShell::currentDesktop() {
    const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
    return desktop ? desktop : "";
}

}  // namespace tz
