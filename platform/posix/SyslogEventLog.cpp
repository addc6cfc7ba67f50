#include "platform/posix/SyslogEventLog.h"

#include <syslog.h>

namespace tz {

void SyslogEventLog::error(const std::string& text) {
    // The text is passed as an argument, never as the format.
    syslog(LOG_USER | LOG_ERR, "%s", text.c_str());
}

}  // namespace tz
