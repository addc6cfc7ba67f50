#include "platform/linux/X11MotionWatch.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

namespace tz {

X11MotionWatch::X11MotionWatch()
    : connection_(X11EventConnection::open([this] { readEvents(); }, true)) {}

X11MotionWatch::~X11MotionWatch() = default;

void X11MotionWatch::notifyOnNextMotion(std::function<void()> onMotion) {
    if (!connection_) {
        return;
    }
    onMotion_ = std::move(onMotion);
    selectRawMotion(true);
    readEvents();  // anything Xlib already queued
}

void X11MotionWatch::cancel() {
    if (connection_ && onMotion_) {
        onMotion_ = nullptr;
        selectRawMotion(false);
    }
}

void X11MotionWatch::selectRawMotion(bool on) {
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    if (on) {
        XISetMask(bits, XI_RawMotion);
    }
    XIEventMask mask{XIAllDevices, static_cast<int>(sizeof bits), bits};
    Display* display = connection_->display();
    XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
    XFlush(display);
}

void X11MotionWatch::readEvents() {
    Display* display = connection_->display();
    bool moved = false;
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        moved = moved || (event.xcookie.type == GenericEvent &&
                          event.xcookie.extension == connection_->xinputOpcode() &&
                          event.xcookie.evtype == XI_RawMotion);
    }
    if (moved && onMotion_) {
        auto onMotion = std::move(onMotion_);
        onMotion_ = nullptr;
        selectRawMotion(false);
        onMotion();
    }
}

}  // namespace tz
