#pragma once
#include <string>

#include "platform/Sound.h"

namespace tz {

// The click sound (Click/Click1.wav) and the hover sound (Click/Click2.wav)
// beside the program. A missing or unplayable file gives the beep. Playing
// holds the caller until the sound has ended. Callers check soundOn first.
class FeedbackSounds {
  public:
    FeedbackSounds(Sound& sound, std::string programFolder);

    void playClick();
    void playHover();

  private:
    void play(const std::string& path);

    Sound& sound_;
    std::string clickPath_;
    std::string hoverPath_;
};

}  // namespace tz
