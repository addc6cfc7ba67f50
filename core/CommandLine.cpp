#include "core/CommandLine.h"

namespace tz {

namespace {

constexpr const char* kUsage =
    "Usage: tindro-zevad [--find-settings | --help | --version]\n"
    "\n"
    "Clicks by resting the pointer, for people who can move the pointer but not\n"
    "press a mouse button. Touch the left edge of the screen to call up the bar,\n"
    "move onto a button to choose the kind of click, then rest the pointer where\n"
    "the click should go.\n"
    "\n"
    "Settings are kept in \"Tindro Zevad.ini\" beside the program when its folder\n"
    "is writable, otherwise in $XDG_CONFIG_HOME/tindro-zevad/ (by default\n"
    "~/.config/tindro-zevad/).\n"
    "\n"
    "Options:\n"
    "  --find-settings  start with \"Find my settings\" open: hold the pointer on\n"
    "                   five targets and get a tolerance and delay that suit you\n"
    "  -h, --help       show this text and end\n"
    "  --version        show the product name and version and end\n";

}  // namespace

CommandLineAnswer readCommandLine(const std::vector<std::string>& arguments,
                                  const std::string& productTitle) {
    if (arguments.empty()) {
        return {};
    }
    const std::string& first = arguments.front();
    if (arguments.size() == 1 && (first == "--help" || first == "-h")) {
        return {false, 0, kUsage, {}};
    }
    if (arguments.size() == 1 && first == "--find-settings") {
        CommandLineAnswer answer;
        answer.findSettings = true;
        return answer;
    }
    if (arguments.size() == 1 && first == "--version") {
        return {false, 0, productTitle + "\n", {}};
    }
    const std::string complaint = first.rfind('-', 0) == 0 && arguments.size() == 1
                                      ? "unknown option: " + first
                                      : "unexpected arguments";
    return {false, 2, {}, "tindro-zevad: " + complaint + "\n\n" + kUsage};
}

}  // namespace tz
