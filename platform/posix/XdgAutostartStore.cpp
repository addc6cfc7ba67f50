#include "platform/posix/XdgAutostartStore.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "core/settings/AtomicFile.h"
#include "core/settings/StartupEntry.h"
#include "platform/posix/UserFolders.h"

namespace tz {

namespace {

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
        configFolder = userBaseFolder("XDG_CONFIG_HOME", ".config");
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
