#include "core/extras/ExtrasSettings.h"

namespace tz {

// Filled in with the INI reader and writer.
ExtrasSettings parseExtras(std::string_view) { return {}; }
std::string formatExtras(const ExtrasSettings&) { return {}; }
std::string extrasPathBeside(const std::string& settingsPath) {
    const auto slash = settingsPath.rfind('/');
    return (slash == std::string::npos ? std::string() : settingsPath.substr(0, slash + 1)) +
           kExtrasFileName;
}
ExtrasSettings readExtrasFile(const std::string&) { return {}; }
bool writeExtrasFile(const std::string&, const ExtrasSettings&, FileOps&) { return false; }

}  // namespace tz
