#pragma once

namespace tz {

// Button events, with the values the program has always used for them.
enum class MouseEvent : unsigned {
    LeftDown = 0x0002,
    LeftUp = 0x0004,
    RightDown = 0x0008,
    RightUp = 0x0010,
    MiddleDown = 0x0020,
    MiddleUp = 0x0040,
};

// Which way one step of the mouse wheel scrolls the window under the pointer.
enum class WheelStep { Up, Down, Left, Right };

// Sends one synthetic button event where the pointer already is.
// Never moves the pointer; the outcome is not reported.
class ClickInjector {
  public:
    virtual ~ClickInjector() = default;
    virtual void send(MouseEvent event) = 0;
    // One whole wheel step (its press and its release).
    virtual void sendWheelStep(WheelStep step) = 0;
};

}  // namespace tz
