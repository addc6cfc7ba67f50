#include "platform/linux/X11EventConnection.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

namespace tz {

std::unique_ptr<X11EventConnection> X11EventConnection::open(std::function<void()> onReadable,
                                                             bool needXInput2) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return nullptr;
    }
    int opcode = 0, event = 0, error = 0, major = 2, minor = 2;
    if (needXInput2 && (!XQueryExtension(display, "XInputExtension", &opcode, &event, &error) ||
                        XIQueryVersion(display, &major, &minor) != Success)) {
        XCloseDisplay(display);
        return nullptr;
    }
    return std::unique_ptr<X11EventConnection>(
        new X11EventConnection(display, opcode, std::move(onReadable)));
}

X11EventConnection::X11EventConnection(Display* display, int xinputOpcode,
                                       std::function<void()> onReadable)
    : display_(display),
      xinputOpcode_(xinputOpcode),
      notifier_(
          std::make_unique<QSocketNotifier>(ConnectionNumber(display), QSocketNotifier::Read)) {
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, std::move(onReadable));
}

X11EventConnection::~X11EventConnection() {
    notifier_.reset();  // before its socket closes
    XCloseDisplay(display_);
}

}  // namespace tz
