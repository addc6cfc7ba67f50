#pragma once
#include "platform/InstanceLock.h"

namespace tz::fake {

class FakeInstanceLock : public InstanceLock {
  public:
    bool acquire() override {
        ++attempts;
        return free;
    }
    bool free = true;  // false: another instance is running
    int attempts = 0;
};

}  // namespace tz::fake
