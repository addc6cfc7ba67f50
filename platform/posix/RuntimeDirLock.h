#pragma once
#include <string>

#include "platform/InstanceLock.h"

namespace tz {

// An flock on a lock file named after the X display, such as
// "tindro-zevad-:0.lock", held through a descriptor that stays open for the
// life of this object: one instance per user and display. The file lies in the
// user's runtime folder, or, when that is missing or not private, in a folder
// of the user's own ("tindro-zevad" in the cache folder, made on demand). Both
// folders belong to this user and nobody else can write into them, so no
// other user can plant a file that blocks the lock or lets two instances run.
// The system drops the lock when the process ends in any way, so an instance
// that crashed or was killed never blocks the next start.
class RuntimeDirLock : public InstanceLock {
  public:
    // Uses $XDG_RUNTIME_DIR, $XDG_CACHE_HOME (or ~/.cache) and $DISPLAY.
    RuntimeDirLock();
    // Uses `runtimeFolder`; when it is empty or not a private folder of this
    // user, `ownFolder` instead, made with access for this user alone when it
    // is missing. `display` names the X display the lock stands for.
    RuntimeDirLock(std::string runtimeFolder, std::string ownFolder, std::string display);
    ~RuntimeDirLock() override;

    RuntimeDirLock(const RuntimeDirLock&) = delete;
    RuntimeDirLock& operator=(const RuntimeDirLock&) = delete;

    // False only when another process holds the lock. When neither folder can
    // be used (this user's own folders are broken), the check is impossible
    // and the start is not refused.
    bool acquire() override;

  private:
    int openLockFile() const;

    std::string runtimeFolder_;
    std::string ownFolder_;
    std::string fileName_;
    int fd_ = -1;
};

}  // namespace tz
