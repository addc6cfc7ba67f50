#pragma once
#include <string>

namespace tz {

// Plays a WAVE file to its end before returning, or sounds the standard beep.
class Sound {
  public:
    virtual ~Sound() = default;
    // Returns false when the file could not be played.
    virtual bool playFile(const std::string& path) = 0;
    virtual void beep() = 0;
};

}  // namespace tz
