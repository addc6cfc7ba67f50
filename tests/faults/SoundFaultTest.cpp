// Sounds on, but nothing to play them with or nothing playable: the program
// must start, take a click kind and click as usual, never waiting on sound.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <ostream>

#include "ProgramFixture.h"

namespace tz::faults {
namespace {

constexpr const char* kSoundsOn = "2\r\n5\r\n0\r\nEnglish.lng\r\n1\r\n0\r\n0\r\n3\r\n";
const std::vector<ButtonEvent> kLeft{press(1), release(1)};
const std::vector<ButtonEvent> kDouble{press(1), release(1), press(1), release(1)};

enum class SoundFault { NoServer, NotAWave, EmptyWave, SilentServer };

std::string describe(SoundFault fault) {
    switch (fault) {
        case SoundFault::NoServer:
            return "NoSoundServer";
        case SoundFault::NotAWave:
            return "WaveFilesThatAreNotWaves";
        case SoundFault::EmptyWave:
            return "ZeroLengthWaveFiles";
        case SoundFault::SilentServer:
            return "SoundServerThatNeverAnswers";
    }
    return "?";
}

void PrintTo(SoundFault fault, std::ostream* os) {
    *os << describe(fault);
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

TEST_P(SoundFaultTest, ProgramStartsSelectsAndClicksWithoutWaitingOnSound) {
    sandbox_.writeSettings(kSoundsOn);
    ProgramOptions options;
    // The sandbox's runtime folder holds no sound server, and the fixture lets
    // none be started on demand.
    switch (GetParam()) {
        case SoundFault::NoServer:
            ASSERT_TRUE(sandbox_.readFile("Click/Click1.wav")) << "the real sounds are missing";
            break;
        case SoundFault::NotAWave:
            sandbox_.writeFile("Click/Click1.wav", "RIFF this is no sound at all\r\n");
            sandbox_.writeFile("Click/Click2.wav", std::string(4096, '\x7f'));
            break;
        case SoundFault::EmptyWave:
            sandbox_.writeFile("Click/Click1.wav", "");
            sandbox_.writeFile("Click/Click2.wav", "");
            break;
        case SoundFault::SilentServer: {
            const std::string server = listenSilently();
            ASSERT_FALSE(server.empty());
            options.environment.emplace_back("PULSE_SERVER", server);
            break;
        }
    }

    startParked(options);
    EXPECT_EQ(restAt(recorder_.centre(), 2), kLeft);
    hover(bar::Button::Double);  // the hover sound
    EXPECT_EQ(restAt({recorder_.centre().x - 50, recorder_.centre().y}, 4), kDouble);
    // The click sound came after that click; the next rest clicks as well.
    EXPECT_EQ(restAt({recorder_.centre().x + 50, recorder_.centre().y + 30}, 4), kDouble);
    EXPECT_TRUE(runs_.back()->running());
}

INSTANTIATE_TEST_SUITE_P(Faults, SoundFaultTest,
                         ::testing::Values(SoundFault::NoServer, SoundFault::NotAWave,
                                           SoundFault::EmptyWave, SoundFault::SilentServer),
                         [](const auto& info) { return describe(info.param); });

}  // namespace
}  // namespace tz::faults
