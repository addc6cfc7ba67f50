#pragma once
#include <string>
#include <string_view>

namespace tz {

// The about window's title: the "about" text without its last three
// characters (its "..."); empty when it has three characters or fewer.
std::string aboutWindowTitle(std::string_view text11);

// "Rel. " and the version parts in plain decimal: "Rel. 1.8.1".
std::string releaseLabel(int major, int minor, int revision);

}  // namespace tz
