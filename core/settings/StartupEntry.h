#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/StartupEntryStore.h"

namespace tz {

// The start-at-logon entry is an XDG autostart desktop entry of this name.
inline constexpr const char* kStartupEntryFileName = "tindro-zevad.desktop";

// One argument of a desktop entry's Exec key, exactly as it is written in the
// file: double-quoted when it holds a reserved character, "%" doubled, and the
// whole escaped as a desktop entry string value (so a backslash inside quotes
// is written as four backslashes).
std::string quoteExecArgument(std::string_view argument);

// Splits an Exec value as written in a desktop entry into its arguments:
// string escapes undone, then quoting, then "%%". Nothing when the value is
// malformed, holds no program or uses a field code such as %f.
std::optional<std::vector<std::string>> parseExecLine(std::string_view execValue);

// The autostart entry that starts `executablePath` with no arguments. Nothing
// when the path cannot be written in a desktop entry (empty, not UTF-8, or
// holding control characters other than tab, newline and carriage return).
std::optional<std::string> desktopEntryContents(const std::string& executablePath);

// KWin lets a program use its fake input (to click in Plasma's Wayland
// session) when the first desktop entry it finds whose Exec program is that
// executable lists org_kde_kwin_fake_input in X-KDE-Wayland-Interfaces.
// Whether the desktop entry `text` is one such for `executablePath` (as
// /proc/<pid>/exe names it): an application entry, not hidden, whose Exec
// program, an absolute path, leads to that file once `canonical` resolved its
// links ("" when no file is there); arguments after it do not matter.
bool entryGrantsFakeInput(std::string_view text, const std::string& executablePath,
                          const std::function<std::string(const std::string&)>& canonical);

// The user's own entry granting `executablePath` fake input, out of the menu;
// nothing when the path cannot be written in a desktop entry.
std::optional<std::string> fakeInputEntryContents(const std::string& executablePath);

// Its file name: one for each executable path, so two program folders keep
// an entry each.
std::string fakeInputEntryFileName(const std::string& executablePath);

// The executable path to register, from the path the system reports for the
// running executable (on Linux the target of /proc/self/exe): that path while
// a file is there; for a path marked " (deleted)" because the running file was
// replaced, the file now at the unmarked path; "" when no file is at either.
std::string runningExecutablePath(const std::string& reported);

// Applies the user's start-at-logon choice: the entry is written (or refreshed)
// when the option is exactly 1 and removed for any other value.
void UpdateStartupEntry(std::int16_t runAtStartup, const std::string& executablePath,
                        StartupEntryStore& store);

}  // namespace tz
