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

// Sends one synthetic button event where the pointer already is.
// Never moves the pointer; the outcome is not reported.
class ClickInjector {
  public:
    virtual ~ClickInjector() = default;
    virtual void send(MouseEvent event) = 0;
};

}  // namespace tz
