#pragma once
#include <array>
#include <cstddef>
#include <string>

namespace tz {

// Every user-visible text of the active language, entries 0 to 50, UTF-8.
inline constexpr std::size_t kTextTableSize = 51;
using TextTable = std::array<std::string, kTextTableSize>;

}  // namespace tz
