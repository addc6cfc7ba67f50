#pragma once
#include <functional>

namespace tz {

// Tells once when the pointer next moves, however it moves (a device, injected
// motion, a program warping it), so that a caller with nothing to do until
// then can sleep instead of sampling the pointer.
class PointerMotionWatch {
  public:
    virtual ~PointerMotionWatch() = default;
    // Whether motion can be watched at all; without it callers keep sampling.
    virtual bool available() = 0;
    // Calls `onMotion` once, from the event loop, at the first motion after
    // this call. A new call replaces the previous request.
    virtual void notifyOnNextMotion(std::function<void()> onMotion) = 0;
    virtual void cancel() = 0;
};

}  // namespace tz
