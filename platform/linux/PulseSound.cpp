#include "platform/linux/PulseSound.h"

#include <X11/Xlib.h>
#include <pulse/error.h>
#include <pulse/simple.h>
#include <sndfile.h>

#include <future>
#include <memory>
#include <thread>
#include <vector>

namespace tz {

namespace {

constexpr auto kServerRetryDelay = std::chrono::seconds(30);
// Feedback sounds are short; a file longer than this many seconds is cut so a
// wrong file cannot hold the program for long, whatever its sample rate.
constexpr sf_count_t kMaxSeconds = 3;
// The highest rate a sound server takes (PulseAudio's PA_RATE_MAX).
constexpr int kMaxRate = 48000 * 8;

// How long a sound may hold the caller beyond its own length. libpulse waits
// 30 s for a server that takes the connection but never answers (a hung
// daemon); the program must not freeze for that long.
constexpr auto kServerAllowance = std::chrono::seconds(1);

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
        info.samplerate > kMaxRate || info.frames <= 0) {
        return false;
    }
    // A frame holds one sample of every channel, so frames measure time.
    const sf_count_t maxFrames = kMaxSeconds * info.samplerate;
    const sf_count_t frames = info.frames < maxFrames ? info.frames : maxFrames;
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
    samples.resize(static_cast<std::size_t>(read * info.channels));

    // The blocking calls run on a thread of their own that owns everything it
    // uses, so the caller can stop waiting for a server that does not answer
    // and leave the thread to end whenever libpulse gives up.
    enum class Outcome { Played, NoServer, Failed };
    std::packaged_task<Outcome()> play([spec, samples = std::move(samples)] {
        int error = 0;
        std::unique_ptr<pa_simple, PulseCloser> stream(
            pa_simple_new(nullptr, "Tindro Zevad", PA_STREAM_PLAYBACK, nullptr, "feedback", &spec,
                          nullptr, nullptr, &error));
        if (!stream) {
            return Outcome::NoServer;
        }
        if (pa_simple_write(stream.get(), samples.data(), samples.size() * sizeof(short), &error) <
            0) {
            return Outcome::Failed;
        }
        pa_simple_drain(stream.get(), &error);
        return Outcome::Played;
    });
    std::future<Outcome> outcome = play.get_future();
    std::thread(std::move(play)).detach();
    const auto length = std::chrono::milliseconds(read * 1000 / info.samplerate);
    if (outcome.wait_for(length + kServerAllowance) != std::future_status::ready) {
        serverRetryAt_ = std::chrono::steady_clock::now() + kServerRetryDelay;
        return false;
    }
    switch (outcome.get()) {
        case Outcome::Played:
            return true;
        case Outcome::NoServer:
            serverRetryAt_ = std::chrono::steady_clock::now() + kServerRetryDelay;
            return false;
        case Outcome::Failed:
            break;
    }
    return false;
}

void PulseSound::beep() {
    if (Display* display = connection_.display()) {
        XBell(display, 0);
        XFlush(display);
    }
}

}  // namespace tz
