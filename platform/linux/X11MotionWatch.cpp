#include "platform/linux/X11MotionWatch.h"

#include <X11/Xlib.h>
#include <X11/extensions/record.h>

namespace tz {

namespace {

void drain(Display* display) {
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
    }
}

// Called by XRecordProcessReplies for each piece of the recording read.
void intercept(XPointer closure, XRecordInterceptData* data) {
    auto& recorded = *reinterpret_cast<X11MotionWatch::Recorded*>(closure);
    if (data->category == XRecordStartOfData) {
        recorded.started = true;
    } else if (data->category == XRecordEndOfData) {
        recorded.started = false;
    } else if (data->category == XRecordFromServer) {
        recorded.moved = true;  // motion is all that is ever recorded
    }
    XRecordFreeData(data);
}

}  // namespace

X11MotionWatch::X11MotionWatch() {
    control_ = X11EventConnection::open([this] { drain(control_->display()); }, false);
    int major = 0, minor = 0;
    if (!control_ || !XRecordQueryVersion(control_->display(), &major, &minor)) {
        control_.reset();
        return;
    }
    data_ = X11EventConnection::open([this] { readRecorded(); }, false);
    if (!data_) {
        control_.reset();
        return;
    }
    // A context with nothing in it yet: the recording runs from now on, and
    // gets motion only while recordMotion(true) has put it in.
    XRecordClientSpec none = 0;
    context_ = XRecordCreateContext(control_->display(), 0, &none, 0, nullptr, 0);
    XSync(control_->display(), False);
    // The server answers with the start of the data (then available()) or an
    // error, which Qt's handler reports; either way nothing waits for it here.
    XRecordEnableContextAsync(data_->display(), context_, intercept,
                              reinterpret_cast<XPointer>(&recorded_));
    XFlush(data_->display());
}

X11MotionWatch::~X11MotionWatch() {
    if (data_) {
        // The server reads nothing more from the recording connection until
        // its recording ends, and closing a connection waits for the server.
        XRecordDisableContext(control_->display(), context_);
        XRecordFreeContext(control_->display(), context_);
        XSync(control_->display(), False);
    }
}

void X11MotionWatch::notifyOnNextMotion(std::function<void()> onMotion) {
    if (!available()) {
        return;
    }
    onMotion_ = nullptr;
    readRecorded();  // motion recorded before this request is not news
    onMotion_ = std::move(onMotion);
    recordMotion(true);
    readRecorded();  // the recording may have ended meanwhile
}

void X11MotionWatch::cancel() {
    if (onMotion_) {
        onMotion_ = nullptr;
        recordMotion(false);
    }
}

void X11MotionWatch::recordMotion(bool on) {
    Display* display = control_->display();
    // Motion is a device event, recorded whichever client it goes to; the
    // context still needs one client in it, and this connection is at hand.
    XRecordClientSpec self = context_;
    if (on) {
        XRecordRange* range = XRecordAllocRange();
        range->device_events.first = MotionNotify;
        range->device_events.last = MotionNotify;
        XRecordRegisterClients(display, context_, 0, &self, 1, &range, 1);
        XFree(range);
        // In force before the caller's next look at the pointer, on another
        // connection: a motion after that look is recorded.
        XSync(display, False);
    } else {
        XRecordUnregisterClients(display, context_, &self, 1);
        XFlush(display);
    }
}

void X11MotionWatch::readRecorded() {
    recorded_.moved = false;
    XRecordProcessReplies(data_->display());
    // A recording that ended (nothing here ends it but the destructor) would
    // leave the caller asleep for good: it is woken, and samples from then on.
    if ((recorded_.moved || !recorded_.started) && onMotion_) {
        auto onMotion = std::move(onMotion_);
        onMotion_ = nullptr;
        recordMotion(false);
        onMotion();
    }
}

}  // namespace tz
