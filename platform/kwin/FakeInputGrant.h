#pragma once
#include <string>

namespace tz {

// Makes sure a desktop entry grants `executable` KWin's fake input: when no
// applications folder of $XDG_DATA_HOME or $XDG_DATA_DIRS holds one, the
// user's own is written to $XDG_DATA_HOME/applications. Then KDE's service
// cache, where KWin looks entries up, is rebuilt. False when no entry grants
// it and none could be written.
bool grantFakeInput(const std::string& executable);

}  // namespace tz
