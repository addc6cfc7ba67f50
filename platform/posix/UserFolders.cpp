#include "platform/posix/UserFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace tz {

namespace {

std::string homeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
        return home;
    }
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr && found->pw_dir[0] == '/') {
        return found->pw_dir;
    }
    return {};
}

}  // namespace

std::string userBaseFolder(const char* variable, const char* underHome) {
    // Relative paths in the XDG variables are invalid and ignored.
    if (const char* folder = std::getenv(variable); folder != nullptr && folder[0] == '/') {
        return folder;
    }
    const std::string home = homeFolder();
    return home.empty() ? std::string() : home + "/" + underHome;
}

}  // namespace tz
