#pragma once
#include <string>

#include "platform/InstanceLock.h"

namespace tz {

// An flock on "tindro-zevad.lock" in the user's runtime folder, held through a
// descriptor that stays open for the life of this object. The system drops
// the lock when the process ends in any way, so an instance that crashed or
// was killed never blocks the next start.
class RuntimeDirLock : public InstanceLock {
  public:
    // Uses $XDG_RUNTIME_DIR.
    RuntimeDirLock();
    // Uses `runtimeFolder`; when it is empty or unusable, the lock file is
    // "tindro-zevad-<uid>.lock" in `fallbackFolder` instead.
    explicit RuntimeDirLock(std::string runtimeFolder, std::string fallbackFolder = "/tmp");
    ~RuntimeDirLock() override;

    RuntimeDirLock(const RuntimeDirLock&) = delete;
    RuntimeDirLock& operator=(const RuntimeDirLock&) = delete;

    // False only when another process holds the lock. When no lock file can
    // be used at all, the check is impossible and the start is not refused.
    bool acquire() override;

  private:
    int openLockFile() const;

    std::string runtimeFolder_;
    std::string fallbackFolder_;
    int fd_ = -1;
};

}  // namespace tz
