#pragma once

typedef struct _XDisplay Display;

namespace tz {

// The program's own connection to the X server for reading the pointer,
// injecting button events and ringing the bell.
class X11Connection {
  public:
    X11Connection();
    ~X11Connection();
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    bool isOpen() const { return display_ != nullptr; }
    Display* display() const { return display_; }
    // Whether the server offers the XTest extension that injects button events.
    bool hasXTest() const { return hasXTest_; }

  private:
    Display* display_ = nullptr;
    bool hasXTest_ = false;
};

}  // namespace tz
