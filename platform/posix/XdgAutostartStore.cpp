#include "platform/posix/XdgAutostartStore.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "core/settings/AtomicFile.h"
#include "core/settings/StartupEntry.h"

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

std::string userConfigFolder() {
    // Relative paths in XDG_CONFIG_HOME are invalid and ignored.
    if (const char* config = std::getenv("XDG_CONFIG_HOME");
        config != nullptr && config[0] == '/') {
        return config;
    }
    const std::string home = homeFolder();
    return home.empty() ? std::string() : home + "/.config";
}

// Creates a missing folder (and its missing parents) readable by the user alone.
bool makeFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0700) == 0 || errno == EEXIST) {
        return true;
    }
    const auto slash = path.find_last_of('/');
    if (errno != ENOENT || slash == std::string::npos || slash == 0) {
        return false;
    }
    return makeFolder(path.substr(0, slash)) &&
           (::mkdir(path.c_str(), 0700) == 0 || errno == EEXIST);
}

}  // namespace

XdgAutostartStore::XdgAutostartStore(std::string configFolder) {
    if (configFolder.empty()) {
        configFolder = userConfigFolder();
    }
    if (!configFolder.empty()) {
        autostartFolder_ = configFolder + "/autostart";
        entryPath_ = autostartFolder_ + "/" + kStartupEntryFileName;
    }
}

void XdgAutostartStore::write(const std::string& executablePath) {
    const auto contents = desktopEntryContents(executablePath);
    if (entryPath_.empty() || !contents || !makeFolder(autostartFolder_)) {
        return;
    }
    writeFileAtomically(entryPath_, *contents);
}

void XdgAutostartStore::remove() {
    if (!entryPath_.empty()) {
        ::unlink(entryPath_.c_str());
    }
}

}  // namespace tz
