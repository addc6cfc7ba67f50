#include "platform/linux/PulseSound.h"

#include <X11/Xlib.h>
#include <pulse/error.h>
#include <pulse/simple.h>
#include <sndfile.h>

#include <memory>
#include <vector>

namespace tz {

namespace {

constexpr auto kServerRetryDelay = std::chrono::seconds(30);
// Feedback sounds are short; a file longer than this is cut so a wrong file
// cannot hold the program for long.
constexpr sf_count_t kMaxFrames = 44100 * 3;

struct SndFileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};
struct PulseCloser {
    void operator()(pa_simple* stream) const { pa_simple_free(stream); }
};

}  // namespace

bool PulseSound::playFile(const std::string& path) {
    SF_INFO info{};
    std::unique_ptr<SNDFILE, SndFileCloser> file(sf_open(path.c_str(), SFM_READ, &info));
    if (!file || info.channels <= 0 || info.channels > 8 || info.samplerate <= 0 ||
        info.frames <= 0) {
        return false;
    }
    const sf_count_t frames = info.frames < kMaxFrames ? info.frames : kMaxFrames;
    std::vector<short> samples(static_cast<std::size_t>(frames * info.channels));
    const sf_count_t read = sf_readf_short(file.get(), samples.data(), frames);
    if (read <= 0) {
        return false;
    }
    if (std::chrono::steady_clock::now() < serverRetryAt_) {
        return false;
    }
    pa_sample_spec spec{};
    spec.format = PA_SAMPLE_S16NE;
    spec.rate = static_cast<std::uint32_t>(info.samplerate);
    spec.channels = static_cast<std::uint8_t>(info.channels);
    int error = 0;
    std::unique_ptr<pa_simple, PulseCloser> stream(
        pa_simple_new(nullptr, "Tindro Zevad", PA_STREAM_PLAYBACK, nullptr, "feedback", &spec,
                      nullptr, nullptr, &error));
    if (!stream) {
        serverRetryAt_ = std::chrono::steady_clock::now() + kServerRetryDelay;
        return false;
    }
    const std::size_t bytes = static_cast<std::size_t>(read * info.channels) * sizeof(short);
    if (pa_simple_write(stream.get(), samples.data(), bytes, &error) < 0) {
        return false;
    }
    pa_simple_drain(stream.get(), &error);
    return true;
}

void PulseSound::beep() {
    if (Display* display = connection_.display()) {
        XBell(display, 0);
        XFlush(display);
    }
}

}  // namespace tz
