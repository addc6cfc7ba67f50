#pragma once
#include <string>

namespace tz {

// The user's locale as the session sets it.
class Locale {
  public:
    virtual ~Locale() = default;
    // The ISO 3166 two-letter country code, upper case; "" when unknown.
    virtual std::string countryCode() = 0;
};

}  // namespace tz
