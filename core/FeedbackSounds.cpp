#include "core/FeedbackSounds.h"

#include <filesystem>
#include <system_error>

namespace tz {

FeedbackSounds::FeedbackSounds(Sound& sound, std::string programFolder)
    : sound_(sound),
      clickPath_(programFolder + "/Click/Click1.wav"),
      hoverPath_(programFolder + "/Click/Click2.wav") {}

void FeedbackSounds::playClick() {
    play(clickPath_);
}

void FeedbackSounds::playHover() {
    play(hoverPath_);
}

void FeedbackSounds::play(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error) && sound_.playFile(path)) {
        return;
    }
    sound_.beep();
}

}  // namespace tz
