#pragma once
#include <string>
#include <string_view>

#include "platform/Locale.h"

namespace tz {

// The language file name, without ".lng", for an ISO 3166 country code: only
// the first two characters count, in any case; unknown or empty gives English.
std::string languageNameForCountry(std::string_view code);

// The language file for the user's locale, such as "Italiano.lng".
std::string chooseLanguageFile(Locale& locale);

// True when the stored language file name is blank (a first run), so the
// language is to be chosen from the locale.
bool needsSystemLanguage(const std::string& languageFile);

}  // namespace tz
