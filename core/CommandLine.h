#pragma once
#include <string>
#include <vector>

namespace tz {

// What the command line asks for. With no arguments the clicker starts;
// `--find-settings` starts it with "Find my settings" open; the other options
// print something and end it.
struct CommandLineAnswer {
    bool startClicker = true;
    int exitCode = 0;
    std::string standardOutput;
    std::string standardError;
    bool findSettings = false;
};

// `arguments` excludes the program name; `productTitle` is the name with the
// full version ("Tindro Zevad Free 1.8.0").
CommandLineAnswer readCommandLine(const std::vector<std::string>& arguments,
                                  const std::string& productTitle);

}  // namespace tz
