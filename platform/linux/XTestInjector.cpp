#include "platform/linux/XTestInjector.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace tz {

void XTestInjector::send(MouseEvent event) {
    Display* display = connection_.display();
    if (display == nullptr || !connection_.hasXTest()) {
        return;
    }
    unsigned int button = 0;
    bool press = false;
    switch (event) {
        case MouseEvent::LeftDown:
            button = Button1, press = true;
            break;
        case MouseEvent::LeftUp:
            button = Button1, press = false;
            break;
        case MouseEvent::MiddleDown:
            button = Button2, press = true;
            break;
        case MouseEvent::MiddleUp:
            button = Button2, press = false;
            break;
        case MouseEvent::RightDown:
            button = Button3, press = true;
            break;
        case MouseEvent::RightUp:
            button = Button3, press = false;
            break;
    }
    XTestFakeButtonEvent(display, button, press ? True : False, CurrentTime);
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
