#pragma once
#include <string>

#include "platform/StartupEntryStore.h"

namespace tz {

// The start-at-logon entry as an XDG autostart desktop entry,
// <config folder>/autostart/tindro-zevad.desktop.
class XdgAutostartStore : public StartupEntryStore {
  public:
    // An empty config folder means the user's: $XDG_CONFIG_HOME when it is an
    // absolute path, otherwise $HOME/.config.
    explicit XdgAutostartStore(std::string configFolder = {});

    void write(const std::string& executablePath) override;
    void remove() override;

    // Where the entry lives; empty when no config folder could be found.
    const std::string& entryPath() const { return entryPath_; }

  private:
    std::string autostartFolder_;
    std::string entryPath_;
};

}  // namespace tz
