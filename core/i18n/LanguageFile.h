#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "core/i18n/TextTable.h"

namespace tz {

// Start-up skips a bad line and goes on; the language picker stops at the
// first bad line or at a line past the table's end.
enum class LoadMode { Startup, Picker };

// Only this much of a language file is read; a whole language is a few KiB.
inline constexpr std::size_t kLanguageFileReadLimit = 1024 * 1024;

// Loads `bytes` (a whole language file) into `table`: line k gives entry k,
// from the line's 4th character on. The entries from kClassicTextCount on are
// first set to their English texts (kEnglishNewerTexts), so a file that ends
// before them shows them in English; classic entries past the file's last line
// keep what they held. A line past the table's end is dropped at start-up and
// stops a picker-mode load. Returns false when a picker-mode load stopped at
// an error; the entries before the failing line then already hold the new
// texts.
bool loadLanguageText(TextTable& table, std::string_view bytes, LoadMode mode);

// The file of the language named `name` in the program folder's Lang folder:
// the file of exactly that name when there is one, otherwise one whose name
// differs only in the case of its letters A to Z. "" (a file that does not
// exist) when there is none, and for a name that could lead out of the Lang
// folder (one holding "/" or "..").
std::string languageFilePath(const std::string& programFolder, const std::string& name);

// Reads the file at `path` (at most kLanguageFileReadLimit bytes of it) and
// loads it. Returns false, with the table unchanged, when the file cannot be
// opened, and false when a picker-mode load stopped.
bool LoadLanguageFile(TextTable& table, const std::string& path, LoadMode mode);

}  // namespace tz
