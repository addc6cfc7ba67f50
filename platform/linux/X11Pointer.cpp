#include "platform/linux/X11Pointer.h"

#include <X11/Xlib.h>

namespace tz {

PointerPosition X11Pointer::position() {
    Display* display = connection_.display();
    if (display == nullptr) {
        return last_;
    }
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0, winX = 0, winY = 0;
    unsigned int mask = 0;
    // When the pointer is on another screen the call returns False; the last
    // known position stands in, which reads as a rest.
    if (XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &winX,
                      &winY, &mask)) {
        last_ = {rootX, rootY};
    }
    return last_;
}

}  // namespace tz
