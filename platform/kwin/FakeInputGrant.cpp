#include "platform/kwin/FakeInputGrant.h"

#include <QProcess>
#include <QStandardPaths>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#include "core/settings/AtomicFile.h"
#include "core/settings/StartupEntry.h"
#include "platform/posix/UserFolders.h"

namespace tz {

namespace {

namespace fs = std::filesystem;

// A desktop entry is a few hundred bytes; a larger file is read this far.
constexpr std::size_t kEntryReadLimit = 64 * 1024;
// A full rebuild of the cache takes seconds on a desktop with many programs.
constexpr int kCacheToolTimeoutMs = 30000;

std::vector<std::string> applicationFolders() {
    std::vector<std::string> folders{userBaseFolder("XDG_DATA_HOME", ".local/share") +
                                     "/applications"};
    const char* dirs = std::getenv("XDG_DATA_DIRS");
    std::string list = dirs != nullptr && *dirs != '\0' ? dirs : "/usr/local/share:/usr/share";
    for (std::size_t start = 0; start <= list.size();) {
        const auto stop = std::min(list.find(':', start), list.size());
        if (list[start] == '/') {
            folders.push_back(list.substr(start, stop - start) + "/applications");
        }
        start = stop + 1;
    }
    return folders;
}

std::string canonicalPath(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) != nullptr ? resolved : "";
}

bool entryGrantsInFolders(const std::string& executable) {
    for (const std::string& folder : applicationFolders()) {
        std::error_code error;
        for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
             it.increment(error)) {
            if (it->path().extension() != ".desktop") {
                continue;
            }
            const auto text = readFilePrefix(it->path().string(), kEntryReadLimit);
            if (text && entryGrantsFakeInput(*text, executable, canonicalPath)) {
                return true;
            }
        }
    }
    return false;
}

// kbuildsycoca6 in Plasma 6, kbuildsycoca5 in Plasma 5; with this program's
// environment, which names the folders and the cache file KWin reads.
void rebuildServiceCache() {
    QString tool = QStandardPaths::findExecutable(QStringLiteral("kbuildsycoca6"));
    if (tool.isEmpty()) {
        tool = QStandardPaths::findExecutable(QStringLiteral("kbuildsycoca5"));
    }
    if (tool.isEmpty()) {
        return;
    }
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(tool, {});
    if (!process.waitForFinished(kCacheToolTimeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
    }
}

}  // namespace

bool grantFakeInput(const std::string& executable) {
    if (!entryGrantsInFolders(executable)) {
        const std::string folder = userBaseFolder("XDG_DATA_HOME", ".local/share");
        const auto contents = fakeInputEntryContents(executable);
        const std::string path = folder + "/applications/" + fakeInputEntryFileName(executable);
        if (folder.empty() || !contents || !createParentFolders(path, 0700) ||
            !writeFileAtomically(path, *contents)) {
            return false;
        }
    }
    // KWin's own copy of the cache library also rebuilds the cache once it
    // sees a folder changed, so a missing or failing tool is no reason to stop.
    rebuildServiceCache();
    return true;
}

}  // namespace tz
