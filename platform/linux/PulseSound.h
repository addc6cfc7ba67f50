#pragma once
#include <chrono>

#include "platform/Sound.h"
#include "platform/linux/X11Connection.h"

namespace tz {

// Decodes WAVE files with libsndfile and plays them to the end through the
// PulseAudio simple API (served by PipeWire on current desktops). The beep is
// the X bell. When no sound server answers, playing is not tried again for a
// while, so a desktop without sound costs a failed connect now and then, not
// one per click.
class PulseSound : public Sound {
  public:
    explicit PulseSound(X11Connection& connection) : connection_(connection) {}
    bool playFile(const std::string& path) override;
    void beep() override;

  private:
    X11Connection& connection_;
    std::chrono::steady_clock::time_point serverRetryAt_{};
};

}  // namespace tz
