#pragma once
#include "platform/EventLog.h"

namespace tz {

// Error entries go to the system log (syslog, facility user, priority error),
// under the program's own name.
class SyslogEventLog : public EventLog {
  public:
    void error(const std::string& text) override;
};

}  // namespace tz
