#pragma once
#include <string>

#include "core/settings/Settings.h"

namespace tz {

// What decides where the settings file lives.
struct SettingsLocationFacts {
    std::string programFolder;  // without a trailing separator
    // The settings file beside the executable can be saved: the folder it is
    // replaced in (that of the file a link there leads to) is writable.
    bool programFolderWritable = false;
    std::string xdgConfigHome;  // empty when unset
    std::string home;           // empty when unknown
};

// The settings file beside the executable when it can be saved there
// (portable use); otherwise the user's own one under
// $XDG_CONFIG_HOME/tindro-zevad (default ~/.config/tindro-zevad), so choices
// made with an installed, read-only program folder survive a restart, even
// when that folder holds a settings file. With no usable configuration
// folder either, the file beside the executable.
std::string chooseSettingsPath(const SettingsLocationFacts& facts);

// chooseSettingsPath with the facts of this process: the file system as the
// real user sees it (access), the environment, and the password database
// when HOME is unset.
std::string settingsPathFor(const std::string& programFolder);

// The settings a run starts with: those of the file at `settingsPath`, or,
// while that file does not exist yet, those of the program folder's settings
// file (an installed program's file gives the starting values once, until the
// user's own file is first saved).
Settings readStartingSettings(const std::string& settingsPath, const std::string& programFolder);

}  // namespace tz
