#include "core/ProductTitle.h"

namespace tz {

std::string buildProductTitle(int major, int minor, int revision) {
    return "Tindro Zevad Free " + std::to_string(major) + "." + std::to_string(minor) + "." +
           std::to_string(revision);
}

}  // namespace tz
