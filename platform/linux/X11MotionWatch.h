#pragma once
#include <memory>

#include "platform/PointerMotionWatch.h"
#include "platform/linux/X11EventConnection.h"

namespace tz {

// Watches the X server's raw pointer motion (XInput 2) on a connection of its
// own: any pointing device moving, whichever window has it, also injected
// motion. Events are asked for only while a request is pending, so a moving
// pointer costs nothing while nobody waits for it.
class X11MotionWatch : public PointerMotionWatch {
  public:
    X11MotionWatch();
    ~X11MotionWatch() override;
    X11MotionWatch(const X11MotionWatch&) = delete;
    X11MotionWatch& operator=(const X11MotionWatch&) = delete;

    bool available() override { return connection_ != nullptr; }
    void notifyOnNextMotion(std::function<void()> onMotion) override;
    void cancel() override;

  private:
    void selectRawMotion(bool on);
    void readEvents();

    std::unique_ptr<X11EventConnection> connection_;
    std::function<void()> onMotion_;
};

}  // namespace tz
