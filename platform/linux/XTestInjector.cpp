#include "platform/linux/XTestInjector.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace tz {

void XTestInjector::send(ButtonEvent event) {
    Display* display = connection_.display();
    if (display == nullptr || !connection_.hasXTest()) {
        return;
    }
    const unsigned int button = event.button == MouseButton::Left    ? Button1
                                : event.button == MouseButton::Right ? Button3
                                                                     : Button2;
    XTestFakeButtonEvent(display, button, event.pressed ? True : False, CurrentTime);
    XFlush(display);
}

void XTestInjector::sendWheelStep(WheelStep step) {
    Display* display = connection_.display();
    if (display == nullptr || !connection_.hasXTest()) {
        return;
    }
    const unsigned int button = Button4 + static_cast<unsigned int>(step);
    XTestFakeButtonEvent(display, button, True, CurrentTime);
    XTestFakeButtonEvent(display, button, False, CurrentTime);
    XFlush(display);
}

}  // namespace tz
