#include "harness/ClickMonitor.h"

#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <X11/extensions/record.h>

#include <chrono>
#include <stdexcept>

#include "harness/Wait.h"
#include "harness/X11Errors.h"

namespace tz::e2e {

struct ClickMonitor::Impl {
    Display* control = nullptr;
    Display* data = nullptr;
    XRecordContext context = 0;
    bool started = false;
    std::vector<GlobalButtonEvent> events;
};

namespace {

void onIntercept(XPointer closure, XRecordInterceptData* data) {
    auto* impl = reinterpret_cast<ClickMonitor::Impl*>(closure);
    if (data->category == XRecordStartOfData) {
        impl->started = true;
    } else if (data->category == XRecordFromServer && data->data_len > 0) {
        const auto* ev = reinterpret_cast<const xEvent*>(data->data);
        const int type = ev->u.u.type & 0x7f;
        if (type == ButtonPress || type == ButtonRelease) {
            impl->events.push_back({ev->u.u.detail,
                                    type == ButtonPress,
                                    {ev->u.keyButtonPointer.rootX, ev->u.keyButtonPointer.rootY}});
        }
    }
    XRecordFreeData(data);
}

}  // namespace

std::ostream& operator<<(std::ostream& os, const GlobalButtonEvent& e) {
    return os << "button " << e.button << (e.pressed ? " press" : " release") << " at " << e.at;
}

ClickMonitor::ClickMonitor(const std::string& display) : impl_(new Impl) {
    installTolerantErrorHandler();
    impl_->control = XOpenDisplay(display.c_str());
    impl_->data = XOpenDisplay(display.c_str());
    const auto fail = [this](const std::string& why) {
        if (impl_->control != nullptr) {
            XCloseDisplay(impl_->control);
        }
        if (impl_->data != nullptr) {
            XCloseDisplay(impl_->data);
        }
        delete impl_;
        throw std::runtime_error("ClickMonitor: " + why);
    };
    int major = 0, minor = 0;
    if (impl_->control == nullptr || impl_->data == nullptr) {
        fail("cannot open X display");
    }
    if (!XRecordQueryVersion(impl_->control, &major, &minor)) {
        fail("the X server lacks the RECORD extension");
    }
    XRecordRange* range = XRecordAllocRange();
    range->device_events.first = ButtonPress;
    range->device_events.last = ButtonRelease;
    XRecordClientSpec clients = XRecordAllClients;
    impl_->context = XRecordCreateContext(impl_->control, 0, &clients, 1, &range, 1);
    XFree(range);
    XSync(impl_->control, False);
    if (impl_->context == 0 || !XRecordEnableContextAsync(impl_->data, impl_->context, onIntercept,
                                                          reinterpret_cast<XPointer>(impl_))) {
        fail("cannot enable the RECORD context");
    }
    // Recording is live once the server has sent its start-of-data reply.
    waitUntil(
        [&] {
            XRecordProcessReplies(impl_->data);
            return impl_->started;
        },
        std::chrono::seconds(5), std::chrono::milliseconds(2));
    if (!impl_->started) {
        fail("RECORD did not start");
    }
}

ClickMonitor::~ClickMonitor() {
    XRecordDisableContext(impl_->control, impl_->context);
    XSync(impl_->control, False);
    XRecordProcessReplies(impl_->data);
    XRecordFreeContext(impl_->control, impl_->context);
    XCloseDisplay(impl_->data);
    XCloseDisplay(impl_->control);
    delete impl_;
}

void ClickMonitor::pump() {
    XRecordProcessReplies(impl_->data);
}

std::vector<GlobalButtonEvent> ClickMonitor::events() {
    pump();
    return impl_->events;
}

void ClickMonitor::clear() {
    pump();
    impl_->events.clear();
}

}  // namespace tz::e2e
