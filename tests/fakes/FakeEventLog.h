#pragma once
// An event log that keeps its entries, for tests.
#include <string>
#include <vector>

#include "platform/EventLog.h"

namespace tz::fake {

class FakeEventLog : public EventLog {
  public:
    void error(const std::string& text) override { errors.push_back(text); }
    std::vector<std::string> errors;
};

}  // namespace tz::fake
