#include "platform/linux/ExecutableFolder.h"

#include <filesystem>
#include <system_error>

#include "core/settings/StartupEntry.h"

namespace tz {

namespace {

// The path the kernel reports for the running executable, which ends in
// " (deleted)" once the file was replaced or removed.
std::string reportedExecutablePath() {
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

}  // namespace

std::string ExecutableFolder::executablePath() {
    return runningExecutablePath(reportedExecutablePath());
}

std::string ExecutableFolder::folder() {
    // The mark of a replaced file is on the file name alone, not on its folder.
    const std::string path = reportedExecutablePath();
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string() : path.substr(0, slash);
}

}  // namespace tz
