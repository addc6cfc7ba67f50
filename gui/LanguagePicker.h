#pragma once
#include <string>

class QWidget;

namespace tz {

struct AppState;
struct Platform;
class WindowManager;

// An open-file dialog. mode 1 opens; any other mode shows nothing. Returns the
// chosen full path, or "" when the user cancels or no dialog could be shown.
// Qt's own widget dialog is used, not the desktop's, so that the program's
// injected clicks reach it.
std::string ShowOpenDialog(QWidget* owner, int mode, const std::string& title,
                           const std::string& initialFile, const std::string& filterName,
                           const std::string& filterPattern, const std::string& initialFolder,
                           const std::string& defaultExtension);

// The options window's language link: choose a language file in the Lang
// folder, load it and apply it to every window. Stops silently at the first
// step that fails.
void pickLanguageFile(AppState& app, Platform& platform, WindowManager& windows, QWidget* owner);

}  // namespace tz
