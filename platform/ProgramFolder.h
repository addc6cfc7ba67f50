#pragma once
#include <string>

namespace tz {

// The folder that holds the running executable, without a trailing separator,
// and the executable's own path.
class ProgramFolder {
  public:
    virtual ~ProgramFolder() = default;
    virtual std::string folder() = 0;
    virtual std::string executablePath() = 0;
};

}  // namespace tz
