#pragma once
#include <string>
#include <string_view>

namespace tz {

// Text from disk becomes UTF-8: bytes that already form valid UTF-8 are kept,
// anything else is taken as Windows-1252 (files made on Windows), so accented
// letters still show.
std::string decodeLocalText(std::string_view bytes);

bool isValidUtf8(std::string_view bytes);
std::string windows1252ToUtf8(std::string_view bytes);

}  // namespace tz
