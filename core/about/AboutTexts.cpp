#include "core/about/AboutTexts.h"

namespace tz {

namespace {

bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

std::string aboutWindowTitle(std::string_view text11) {
    // Characters, not bytes: the texts are UTF-8.
    std::size_t end = text11.size();
    for (int removed = 0; removed < 3; ++removed) {
        if (end == 0) {
            return {};
        }
        --end;
        while (end > 0 && isContinuationByte(text11[end])) {
            --end;
        }
    }
    return std::string(text11.substr(0, end));
}

std::string releaseLabel(int major, int minor, int revision) {
    return "Rel. " + std::to_string(major) + "." + std::to_string(minor) + "." +
           std::to_string(revision);
}

}  // namespace tz
