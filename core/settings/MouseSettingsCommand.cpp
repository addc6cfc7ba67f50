#include "core/settings/MouseSettingsCommand.h"

#include <algorithm>
#include <cctype>

namespace tz {

namespace {

struct DesktopTool {
    const char* desktop;  // as named in XDG_CURRENT_DESKTOP, upper case
    std::vector<std::string> argv;
};

const std::vector<DesktopTool>& tools() {
    static const std::vector<DesktopTool> kTools = {
        {"GNOME", {"gnome-control-center", "mouse"}},
        {"UNITY", {"gnome-control-center", "mouse"}},
        {"BUDGIE", {"budgie-control-center", "mouse"}},
        {"KDE", {"systemsettings", "kcm_mouse"}},
        {"KDE", {"kcmshell6", "kcm_mouse"}},
        {"KDE", {"kcmshell5", "kcm_mouse"}},
        {"XFCE", {"xfce4-mouse-settings"}},
        {"MATE", {"mate-mouse-properties"}},
        {"X-CINNAMON", {"cinnamon-settings", "mouse"}},
        {"LXQT", {"lxqt-config-input"}},
        {"LXDE", {"lxinput"}},
    };
    return kTools;
}

std::vector<std::string> desktopNames(std::string_view value) {
    std::vector<std::string> names;
    std::string current;
    for (char c : value) {
        if (c == ':') {
            names.push_back(current);
            current.clear();
        } else {
            current += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
    }
    names.push_back(current);
    return names;
}

}  // namespace

std::vector<std::vector<std::string>> mouseSettingsCommands(std::string_view currentDesktop) {
    const std::vector<std::string> running = desktopNames(currentDesktop);
    std::vector<std::vector<std::string>> commands;
    const auto add = [&commands](const std::vector<std::string>& argv) {
        if (std::find(commands.begin(), commands.end(), argv) == commands.end()) {
            commands.push_back(argv);
        }
    };
    for (const DesktopTool& tool : tools()) {
        if (std::find(running.begin(), running.end(), tool.desktop) != running.end()) {
            add(tool.argv);
        }
    }
    for (const DesktopTool& tool : tools()) {
        add(tool.argv);
    }
    return commands;
}

}  // namespace tz
