#pragma once

namespace tz {

enum class MouseButton { Left, Right, Middle };

// A mouse button going down (pressed) or coming back up.
struct ButtonEvent {
    MouseButton button;
    bool pressed;
    bool operator==(const ButtonEvent&) const = default;
};

// Which way one step of the mouse wheel scrolls the window under the pointer.
enum class WheelStep { Up, Down, Left, Right };

// Sends one synthetic button event where the pointer already is.
// Never moves the pointer; the outcome is not reported.
class ClickInjector {
  public:
    virtual ~ClickInjector() = default;
    virtual void send(ButtonEvent event) = 0;
    // One whole wheel step (its press and its release).
    virtual void sendWheelStep(WheelStep step) = 0;
};

}  // namespace tz
