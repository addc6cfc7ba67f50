#include "platform/linux/ExecutableFolder.h"

#include <filesystem>
#include <system_error>

namespace tz {

std::string ExecutableFolder::executablePath() {
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

std::string ExecutableFolder::folder() {
    const std::string path = executablePath();
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string() : path.substr(0, slash);
}

}  // namespace tz
