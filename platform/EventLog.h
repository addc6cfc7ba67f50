#pragma once
#include <string>

namespace tz {

// The program's log of errors, read by whoever looks after the machine.
class EventLog {
  public:
    virtual ~EventLog() = default;
    // Writes one error entry.
    virtual void error(const std::string& text) = 0;
};

}  // namespace tz
