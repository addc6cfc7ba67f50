#pragma once
#include <string>
#include <vector>

namespace tz {

// Which desktop services the program uses: chosen from the session, or by
// `--platform=x11|kwin`.
enum class PlatformChoice { Automatic, X11, KWin };

// What the command line asks for. With no arguments the clicker starts;
// `--find-settings` starts it with "Find my settings" open and `--platform`
// names its desktop services (each at most once, in any order); the other
// options print something and end it.
struct CommandLineAnswer {
    bool startClicker = true;
    int exitCode = 0;
    std::string standardOutput;
    std::string standardError;
    bool findSettings = false;
    PlatformChoice platform = PlatformChoice::Automatic;
};

// `arguments` excludes the program name; `productTitle` is the name with the
// full version ("Tindro Zevad Free 1.8.0").
CommandLineAnswer readCommandLine(const std::vector<std::string>& arguments,
                                  const std::string& productTitle);

}  // namespace tz
