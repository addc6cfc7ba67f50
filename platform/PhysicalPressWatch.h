#pragma once
#include <functional>

namespace tz {

// Tells when a pointer button or switch is pressed by hand on any device,
// whichever window has the pointer. The program's own injected clicks are not
// presses by hand and are never reported.
class PhysicalPressWatch {
  public:
    virtual ~PhysicalPressWatch() = default;
    // Whether presses can be watched at all.
    virtual bool available() = 0;
    // `onPress` is called from the event loop at each press by hand from now
    // on; it replaces the previous handler, and an empty one stops the calls.
    virtual void setOnPress(std::function<void()> onPress) = 0;
};

}  // namespace tz
