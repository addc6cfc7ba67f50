#pragma once
#include "platform/ClickInjector.h"
#include "platform/linux/X11Connection.h"

namespace tz {

// Injects button events with the XTest extension, flushed after each one so
// the server sees them at once and in order.
class XTestInjector : public ClickInjector {
  public:
    explicit XTestInjector(X11Connection& connection) : connection_(connection) {}
    void send(ButtonEvent event) override;
    // X buttons 4 to 7: up, down, left, right.
    void sendWheelStep(WheelStep step) override;

  private:
    X11Connection& connection_;
};

}  // namespace tz
