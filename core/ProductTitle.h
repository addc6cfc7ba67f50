#pragma once
#include <string>

namespace tz {

// "Tindro Zevad Free " followed by major.minor.revision.
std::string buildProductTitle(int major, int minor, int revision);

}  // namespace tz
