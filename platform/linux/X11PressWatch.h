#pragma once
#include <memory>
#include <optional>

#include "platform/PhysicalPressWatch.h"
#include "platform/linux/X11EventConnection.h"

namespace tz {

class X11Connection;

// Watches the X server's raw button presses (XInput 2) on a connection of its
// own; raw events come whatever window or grab has the pointer. A press is the
// program's own when it comes from the XTest device of the master pointer the
// injecting connection clicks through; every other device, another master's
// XTest device included, presses by hand.
class X11PressWatch : public PhysicalPressWatch {
  public:
    explicit X11PressWatch(X11Connection& injecting);
    ~X11PressWatch() override;
    X11PressWatch(const X11PressWatch&) = delete;
    X11PressWatch& operator=(const X11PressWatch&) = delete;

    bool available() override { return connection_ != nullptr; }
    void setOnPress(std::function<void()> onPress) override;

  private:
    void selectEvents(bool on);
    void readEvents();
    bool isInjected(int sourceDevice);

    X11Connection& injecting_;
    // The XTest slave the program's clicks come from, once known; devices
    // coming and going make it unknown again.
    std::optional<int> injectingDevice_;
    std::function<void()> onPress_;
    std::unique_ptr<X11EventConnection> connection_;
};

}  // namespace tz
