#include "core/CommandLine.h"

#include <string_view>

namespace tz {

namespace {

constexpr const char* kUsage =
    "Usage: tindro-zevad [--find-settings] [--platform=x11|kwin] | --help | --version\n"
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
    "  --platform=x11   see the pointer and click through the X server\n"
    "  --platform=kwin  see the pointer and click through KDE Plasma's Wayland\n"
    "                   compositor (KWin); the windows still use Xwayland.\n"
    "                   Without this option: kwin when WAYLAND_DISPLAY is set and\n"
    "                   KWin is on the session bus, otherwise x11\n"
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
    if (arguments.size() == 1 && first == "--version") {
        return {false, 0, productTitle + "\n", {}};
    }
    const auto refuse = [](const std::string& complaint) {
        return CommandLineAnswer{false, 2, {}, "tindro-zevad: " + complaint + "\n\n" + kUsage};
    };
    constexpr std::string_view kPlatform = "--platform=";
    CommandLineAnswer answer;
    bool platformGiven = false;
    for (const std::string& argument : arguments) {
        if (argument == "--find-settings" && !answer.findSettings) {
            answer.findSettings = true;
        } else if (argument.starts_with(kPlatform) && !platformGiven) {
            const std::string name = argument.substr(kPlatform.size());
            if (name != "x11" && name != "kwin") {
                return refuse("unknown platform: " + name + " (x11 or kwin)");
            }
            answer.platform = name == "x11" ? PlatformChoice::X11 : PlatformChoice::KWin;
            platformGiven = true;
        } else if (argument.starts_with('-') && arguments.size() == 1) {
            return refuse("unknown option: " + argument);
        } else {
            return refuse("unexpected arguments");
        }
    }
    return answer;
}

}  // namespace tz
