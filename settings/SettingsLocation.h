#pragma once
#include <string>

namespace tz {

// What decides where the settings file lives.
struct SettingsLocationFacts {
    std::string programFolder;  // without a trailing separator
    bool fileInProgramFolder = false;
    bool programFolderWritable = false;
    std::string xdgConfigHome;  // empty when unset
    std::string home;           // empty when unknown
};

// The settings file beside the executable when it is already there or could be
// written there (portable use); otherwise the user's own one under
// $XDG_CONFIG_HOME/tindro-zevad (default ~/.config/tindro-zevad), so choices
// made with an installed, read-only program folder survive a restart. With no
// usable configuration folder either, the file beside the executable.
std::string chooseSettingsPath(const SettingsLocationFacts& facts);

// chooseSettingsPath with the facts of this process: the file system as the
// real user sees it (access), the environment, and the password database
// when HOME is unset.
std::string settingsPathFor(const std::string& programFolder);

}  // namespace tz
