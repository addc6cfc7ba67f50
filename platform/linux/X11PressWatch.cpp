#include "platform/linux/X11PressWatch.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include <string_view>

#include "platform/linux/X11Connection.h"

namespace tz {

namespace {

// The wheel turns as buttons 4 to 7: no press by hand.
bool isWheel(int button) {
    return button >= 4 && button <= 7;
}

}  // namespace

X11PressWatch::X11PressWatch(X11Connection& injecting) : injecting_(injecting) {
    if (injecting_.display() != nullptr) {
        connection_ = X11EventConnection::open([this] { readEvents(); }, true);
    }
}

X11PressWatch::~X11PressWatch() = default;

void X11PressWatch::setOnPress(std::function<void()> onPress) {
    if (!connection_) {
        return;
    }
    onPress_ = std::move(onPress);
    injectingDevice_.reset();
    selectEvents(static_cast<bool>(onPress_));
}

void X11PressWatch::selectEvents(bool on) {
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    if (on) {
        XISetMask(bits, XI_RawButtonPress);
        XISetMask(bits, XI_HierarchyChanged);
    }
    XIEventMask mask{XIAllDevices, static_cast<int>(sizeof bits), bits};
    Display* display = connection_->display();
    XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
    XFlush(display);
}

bool X11PressWatch::isInjected(int sourceDevice) {
    if (!injectingDevice_) {
        // The master pointer the injecting connection's XTest requests go
        // through. Until that connection has used a pointer the server has
        // chosen none, and nothing has been injected yet.
        int master = 0;
        if (!XIGetClientPointer(injecting_.display(), None, &master)) {
            return false;
        }
        int count = 0;
        XIDeviceInfo* devices = XIQueryDevice(connection_->display(), XIAllDevices, &count);
        injectingDevice_ = -1;
        constexpr std::string_view kXTestSuffix = "XTEST pointer";
        for (int i = 0; i < count; ++i) {
            const XIDeviceInfo& device = devices[i];
            if (device.use == XISlavePointer && device.attachment == master &&
                std::string_view(device.name).ends_with(kXTestSuffix)) {
                injectingDevice_ = device.deviceid;
            }
        }
        XIFreeDeviceInfo(devices);
    }
    return sourceDevice == *injectingDevice_;
}

void X11PressWatch::readEvents() {
    Display* display = connection_->display();
    bool pressed = false;
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        XGenericEventCookie& cookie = event.xcookie;
        if (cookie.type != GenericEvent || cookie.extension != connection_->xinputOpcode() ||
            !XGetEventData(display, &cookie)) {
            continue;
        }
        if (cookie.evtype == XI_HierarchyChanged) {
            injectingDevice_.reset();
        } else if (cookie.evtype == XI_RawButtonPress) {
            const auto* raw = static_cast<const XIRawEvent*>(cookie.data);
            pressed = pressed || (!isWheel(raw->detail) && !isInjected(raw->sourceid));
        }
        XFreeEventData(display, &cookie);
    }
    // One call for all presses read together: a slave's press may come again as its master's.
    if (pressed && onPress_) {
        onPress_();
    }
}

}  // namespace tz
