#include "core/settings/SettingsLocation.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "core/settings/SettingsFile.h"

namespace tz {

namespace {

constexpr const char* kConfigFolderName = "tindro-zevad";

// XDG paths must be absolute; a relative one is ignored.
bool isAbsolute(const std::string& path) {
    return !path.empty() && path.front() == '/';
}

std::string withoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

std::string joined(const std::string& folder, const std::string& name) {
    return folder == "/" ? folder + name : folder + "/" + name;
}

}  // namespace

std::string chooseSettingsPath(const SettingsLocationFacts& facts) {
    const std::string beside = facts.programFolder + "/" + kSettingsFileName;
    if (facts.programFolderWritable) {
        return beside;
    }
    std::string configHome;
    if (isAbsolute(facts.xdgConfigHome)) {
        configHome = withoutTrailingSlashes(facts.xdgConfigHome);
    } else if (isAbsolute(facts.home)) {
        configHome = joined(withoutTrailingSlashes(facts.home), ".config");
    } else {
        return beside;
    }
    return joined(joined(configHome, kConfigFolderName), kSettingsFileName);
}

std::string settingsPathFor(const std::string& programFolder) {
    SettingsLocationFacts facts;
    facts.programFolder = programFolder;
    const std::string folder = programFolder.empty() ? "/" : programFolder;
    // A settings file there that is a link is saved in the folder it leads to.
    std::string saveFolder = folder;
    char target[PATH_MAX];
    if (::realpath((programFolder + "/" + kSettingsFileName).c_str(), target) != nullptr) {
        const std::string resolved = target;
        saveFolder = resolved.substr(0, std::max<std::size_t>(resolved.rfind('/'), 1));
    }
    facts.programFolderWritable = ::access(saveFolder.c_str(), W_OK) == 0;
    if (const char* value = std::getenv("XDG_CONFIG_HOME")) {
        facts.xdgConfigHome = value;
    }
    if (const char* value = std::getenv("HOME")) {
        facts.home = value;
    }
    if (facts.home.empty()) {
        if (const passwd* user = ::getpwuid(::getuid()); user != nullptr && user->pw_dir) {
            facts.home = user->pw_dir;
        }
    }
    return chooseSettingsPath(facts);
}

Settings readStartingSettings(const std::string& settingsPath, const std::string& programFolder) {
    if (::access(settingsPath.c_str(), F_OK) == 0) {
        return readSettingsFile(settingsPath);
    }
    return readSettingsFile(programFolder + "/" + kSettingsFileName);
}

}  // namespace tz
