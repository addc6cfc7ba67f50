#pragma once
#include <QSocketNotifier>
#include <memory>
#include <optional>

#include "platform/PhysicalPressWatch.h"

typedef struct _XDisplay Display;

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

    bool available() override { return display_ != nullptr; }
    void setOnPress(std::function<void()> onPress) override;

  private:
    void selectEvents(bool on);
    void readEvents();
    bool isInjected(int sourceDevice);

    X11Connection& injecting_;
    Display* display_ = nullptr;
    int xinputOpcode_ = 0;
    // The XTest slave the program's clicks come from, once known; devices
    // coming and going make it unknown again.
    std::optional<int> injectingDevice_;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::function<void()> onPress_;
};

}  // namespace tz
