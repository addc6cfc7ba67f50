#include "platform/linux/X11MotionWatch.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

namespace tz {

X11MotionWatch::X11MotionWatch() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return;
    }
    int event = 0, error = 0, major = 2, minor = 2;  // raw events whatever the grabs
    if (!XQueryExtension(display, "XInputExtension", &xinputOpcode_, &event, &error) ||
        XIQueryVersion(display, &major, &minor) != Success) {
        XCloseDisplay(display);
        return;
    }
    display_ = display;
    notifier_ =
        std::make_unique<QSocketNotifier>(ConnectionNumber(display_), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { readEvents(); });
}

X11MotionWatch::~X11MotionWatch() {
    notifier_.reset();
    if (display_ != nullptr) {
        XCloseDisplay(display_);
    }
}

void X11MotionWatch::notifyOnNextMotion(std::function<void()> onMotion) {
    if (display_ == nullptr) {
        return;
    }
    onMotion_ = std::move(onMotion);
    selectRawMotion(true);
    readEvents();  // anything Xlib already queued
}

void X11MotionWatch::cancel() {
    if (display_ != nullptr && onMotion_) {
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
    XISelectEvents(display_, DefaultRootWindow(display_), &mask, 1);
    XFlush(display_);
}

void X11MotionWatch::readEvents() {
    bool moved = false;
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        moved = moved ||
                (event.xcookie.type == GenericEvent && event.xcookie.extension == xinputOpcode_ &&
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
