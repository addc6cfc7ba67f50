#pragma once
#include <array>
#include <string_view>

#include "core/i18n/TextTable.h"

namespace tz {

// The English texts of the entries after the classic table, entry
// kClassicTextCount first. A language file that ends before an entry shows
// its English text.
extern const std::array<std::string_view, kTextTableSize - kClassicTextCount> kEnglishNewerTexts;

// Puts those English texts into `table`'s newer entries.
void setEnglishNewerTexts(TextTable& table);

}  // namespace tz
