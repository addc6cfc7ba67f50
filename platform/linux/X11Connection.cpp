#include "platform/linux/X11Connection.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace tz {

X11Connection::X11Connection() : display_(XOpenDisplay(nullptr)) {
    if (display_ != nullptr) {
        int eventBase = 0, errorBase = 0, major = 0, minor = 0;
        hasXTest_ = XTestQueryExtension(display_, &eventBase, &errorBase, &major, &minor) != 0;
    }
}

X11Connection::~X11Connection() {
    if (display_ != nullptr) {
        XCloseDisplay(display_);
    }
}

}  // namespace tz
