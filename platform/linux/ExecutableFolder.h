#pragma once
#include "platform/ProgramFolder.h"

namespace tz {

// The folder of the running executable, from /proc/self/exe.
class ExecutableFolder : public ProgramFolder {
  public:
    std::string folder() override;
    std::string executablePath() override;
};

}  // namespace tz
