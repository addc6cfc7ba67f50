#pragma once
#include <string>

namespace tz {

// The help page for a language file, as a name to append to the program
// folder: "/help-it.html" for italiano.lng, "/help-el.html" for greek.lng
// (any letter case), "/help-en.html" for anything else.
std::string helpPageName(const std::string& languageFile);

}  // namespace tz
