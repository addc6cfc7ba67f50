#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace tz {

// The desktops' own mouse settings tools, as argument lists to try in turn:
// those of the running desktop (a colon-separated XDG_CURRENT_DESKTOP value)
// first, then every other one.
std::vector<std::vector<std::string>> mouseSettingsCommands(std::string_view currentDesktop);

}  // namespace tz
