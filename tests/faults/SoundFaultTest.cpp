// Sounds on, but nothing to play them with or nothing playable: the program
// must start, take a click kind and click as usual, never waiting on sound.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <ostream>

#include "ProgramFixture.h"

namespace tz::e2e {
namespace {

constexpr const char* kSoundsOn = "2\r\n5\r\n0\r\nEnglish.lng\r\n1\r\n0\r\n0\r\n3\r\n";
const std::vector<ButtonEvent> kLeft{press(1), release(1)};
const std::vector<ButtonEvent> kDouble{press(1), release(1), press(1), release(1)};

// The click sounds put in place of the real ones (none: the real ones), and
// whether a sound server that never answers is named.
struct SoundFault {
    const char* name;
    std::optional<std::string> click1, click2;
    bool silentServer = false;
};

void PrintTo(const SoundFault& fault, std::ostream* os) {
    *os << fault.name;
}

class SoundFaultTest : public ProgramFixture, public ::testing::WithParamInterface<SoundFault> {
  protected:
    ~SoundFaultTest() override {
        if (silentServer_ >= 0) {
            ::close(silentServer_);
        }
    }

    // A socket that takes connections into its queue and never says a word.
    std::string listenSilently() {
        const std::string path = (sandbox_.root() / "silent-sound-server").string();
        silentServer_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        if (silentServer_ < 0 ||
            ::bind(silentServer_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(silentServer_, 64) != 0) {
            return {};
        }
        return "unix:" + path;
    }

    int silentServer_ = -1;
};

// A silent 16-bit WAVE file.
std::string silentWave(std::uint32_t rate, std::uint16_t channels, std::uint32_t seconds) {
    const std::uint32_t bytes = rate * channels * 2 * seconds;
    std::string wave;
    const auto put = [&wave](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) {
            wave += static_cast<char>((value >> (8 * i)) & 0xff);
        }
    };
    wave += "RIFF";
    put(36 + bytes, 4);
    wave += "WAVEfmt ";
    put(16, 4);
    put(1, 2);
    put(channels, 2);
    put(rate, 4);
    put(rate * channels * 2, 4);
    put(channels * 2, 2);
    put(16, 2);
    wave += "data";
    put(bytes, 4);
    return wave + std::string(bytes, '\0');
}

TEST_P(SoundFaultTest, ProgramStartsSelectsAndClicksWithoutWaitingOnSound) {
    const SoundFault& fault = GetParam();
    sandbox_.writeSettings(kSoundsOn);
    // The sandbox's runtime folder holds no sound server, and the fixture lets
    // none be started on demand.
    ASSERT_TRUE(sandbox_.readFile("Click/Click1.wav")) << "the real sounds are missing";
    if (fault.click1) {
        sandbox_.writeFile("Click/Click1.wav", *fault.click1);
        sandbox_.writeFile("Click/Click2.wav", *fault.click2);
    }
    ProgramOptions options;
    if (fault.silentServer) {
        const std::string server = listenSilently();
        ASSERT_FALSE(server.empty());
        options.environment.emplace_back("PULSE_SERVER", server);
    }

    ASSERT_NO_FATAL_FAILURE(startParked(options));
    EXPECT_EQ(restAt(recorder_.centre(), 2), kLeft);
    ASSERT_NO_FATAL_FAILURE(choose(bar::Button::Double));  // the hover sound
    EXPECT_EQ(restAt({recorder_.centre().x - 50, recorder_.centre().y}, 4), kDouble);
    // The click sound came after that click; the next rest clicks as well.
    EXPECT_EQ(restAt({recorder_.centre().x + 50, recorder_.centre().y + 30}, 4), kDouble);
    EXPECT_TRUE(runs_.back()->running());
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SoundFaultTest,
    ::testing::Values(SoundFault{"NoSoundServer", {}, {}},
                      SoundFault{"WaveFilesThatAreNotWaves", "RIFF this is no sound at all\r\n",
                                 std::string(4096, '\x7f')},
                      SoundFault{"ZeroLengthWaveFiles", "", ""},
                      SoundFault{"SoundServerThatNeverAnswers", {}, {}, true},
                      // 20 s at 8 kHz: the click sound holds the program for its first 3 s
                      // and the server's allowance, not for 16 s.
                      SoundFault{"LongLowRateStereoClickSound", silentWave(8000, 2, 20), "", true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tz::e2e
