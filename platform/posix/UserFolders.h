#pragma once
#include <string>

namespace tz {

// The user's base folder named by the XDG variable `variable` (such as
// "XDG_CONFIG_HOME") when it holds an absolute path, else `underHome` (such as
// ".config") in the home folder ($HOME, else the password database); "" when
// no home folder is known.
std::string userBaseFolder(const char* variable, const char* underHome);

}  // namespace tz
