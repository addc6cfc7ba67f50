#pragma once
#include <string>

#include "platform/Locale.h"

namespace tz::fake {

class FakeLocale : public Locale {
  public:
    explicit FakeLocale(std::string code = "") : code(std::move(code)) {}
    std::string countryCode() override {
        ++queries;
        return code;
    }
    std::string code;
    int queries = 0;
};

}  // namespace tz::fake
