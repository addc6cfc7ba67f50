#pragma once

namespace tz {

// Tells whether another instance of the program is running.
class InstanceLock {
  public:
    virtual ~InstanceLock() = default;
    // True when no other instance holds the lock; this one then holds it
    // until the lock object is destroyed or the process ends.
    virtual bool acquire() = 0;
};

}  // namespace tz
