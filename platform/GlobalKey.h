#pragma once
#include <functional>
#include <string>

namespace tz {

// One key of the keyboard taken for the program, whichever window has the
// focus: its presses go to the program alone.
class GlobalKey {
  public:
    virtual ~GlobalKey() = default;
    // Takes the key named `keyName` (an X key name such as "Pause" or "F12")
    // in place of the one taken before; `onPress` is called from the event loop
    // at each press, not at its auto-repeat. "" takes no key and is no
    // failure. False when the name is unknown or another program already holds
    // that key: then no key is taken.
    virtual bool grab(const std::string& keyName, std::function<void()> onPress) = 0;
    virtual void release() = 0;
};

}  // namespace tz
