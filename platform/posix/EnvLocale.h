#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "platform/Locale.h"

namespace tz {

// The country of the locale in the environment: the first non-empty of
// LC_ALL, LC_MESSAGES and LANG, the order the C library follows for messages.
class EnvLocale : public Locale {
  public:
    // Returns the variable's value, "" when it is not set.
    using Lookup = std::function<std::string(const char* name)>;

    EnvLocale();
    explicit EnvLocale(Lookup lookup);

    std::string countryCode() override;

  private:
    Lookup lookup_;
};

// "ll_CC.charset@modifier" gives "CC" (upper case); "C", "POSIX", a name
// without a two-letter territory and anything unparsable give "".
std::string countryOfLocaleName(std::string_view name);

}  // namespace tz
