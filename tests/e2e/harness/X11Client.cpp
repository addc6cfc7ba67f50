#include "harness/X11Client.h"

#include <sstream>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <stdexcept>

#include "harness/Wait.h"
#include "harness/X11Errors.h"

namespace tz::e2e {

struct X11Client::Impl {
    Display* dpy = nullptr;
    Window root = 0;
    Atom netWmName = 0;
    Atom utf8String = 0;
    Atom netWmPid = 0;
    std::vector<WindowEvent> events;
};

namespace {

// A property's value as bytes when it has the type (any when AnyPropertyType)
// and item size asked for.
std::optional<std::string> property(Display* dpy, Window w, Atom name, Atom type, int format) {
    Atom actualType = 0;
    int actualFormat = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy, w, name, 0, 1024, False, type, &actualType, &actualFormat, &count,
                           &after, &data) != Success ||
        data == nullptr) {
        return std::nullopt;
    }
    std::optional<std::string> result;
    if ((type == AnyPropertyType || actualType == type) && actualFormat == format) {
        // Xlib hands 32-bit items over as longs.
        result =
            std::string(reinterpret_cast<char*>(data), count * (format == 32 ? sizeof(long) : 1));
    }
    XFree(data);
    return result;
}

}  // namespace

std::ostream& operator<<(std::ostream& os, const WindowInfo& w) {
    static const char* const states[] = {"unmapped", "unviewable", "viewable"};
    return os << "window 0x" << std::hex << w.id << std::dec << " " << w.geometry << " "
              << states[static_cast<int>(w.mapState)] << " title \"" << w.title << "\" class \""
              << w.resName << "/" << w.resClass << "\" pid " << w.pid;
}

X11Client::X11Client(const std::string& display) : impl_(new Impl) {
    installTolerantErrorHandler();
    impl_->dpy = XOpenDisplay(display.c_str());
    if (impl_->dpy == nullptr) {
        delete impl_;
        throw std::runtime_error("cannot open X display " + display);
    }
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(impl_->dpy, &eventBase, &errorBase, &major, &minor)) {
        XCloseDisplay(impl_->dpy);
        delete impl_;
        throw std::runtime_error("the X server lacks the XTEST extension");
    }
    impl_->root = DefaultRootWindow(impl_->dpy);
    impl_->netWmName = XInternAtom(impl_->dpy, "_NET_WM_NAME", False);
    impl_->utf8String = XInternAtom(impl_->dpy, "UTF8_STRING", False);
    impl_->netWmPid = XInternAtom(impl_->dpy, "_NET_WM_PID", False);
    XSelectInput(impl_->dpy, impl_->root, SubstructureNotifyMask);
    XSync(impl_->dpy, False);
}

X11Client::~X11Client() {
    XCloseDisplay(impl_->dpy);
    delete impl_;
}

Rect X11Client::screen() const {
    const int s = DefaultScreen(impl_->dpy);
    return {0, 0, DisplayWidth(impl_->dpy, s), DisplayHeight(impl_->dpy, s)};
}

void X11Client::movePointer(int x, int y) {
    XTestFakeMotionEvent(impl_->dpy, -1, x, y, CurrentTime);
    XFlush(impl_->dpy);
    XSync(impl_->dpy, False);
}

void X11Client::warpPointer(int x, int y) {
    XWarpPointer(impl_->dpy, None, impl_->root, 0, 0, 0, 0, x, y);
    XSync(impl_->dpy, False);
}

Point X11Client::pointer() const {
    Window rootReturn = 0, child = 0;
    int rootX = 0, rootY = 0, winX = 0, winY = 0;
    unsigned int mask = 0;
    XQueryPointer(impl_->dpy, impl_->root, &rootReturn, &child, &rootX, &rootY, &winX, &winY,
                  &mask);
    return {rootX, rootY};
}

void X11Client::resizeWindow(unsigned long window, int width, int height) {
    XResizeWindow(impl_->dpy, window, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XSync(impl_->dpy, False);
}

std::vector<WindowInfo> X11Client::topLevelWindows(bool viewableOnly) const {
    Display* dpy = impl_->dpy;
    Window rootReturn = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    std::vector<WindowInfo> result;
    // Serialise against other clients' windows vanishing mid-query: errors for
    // such windows are ignored and the window is skipped.
    XGrabServer(dpy);
    if (XQueryTree(dpy, impl_->root, &rootReturn, &parent, &children, &count) != 0) {
        for (unsigned int i = 0; i < count; ++i) {
            XWindowAttributes attrs;
            if (XGetWindowAttributes(dpy, children[i], &attrs) == 0) {
                continue;
            }
            WindowInfo info;
            info.id = children[i];
            info.geometry = {attrs.x + attrs.border_width, attrs.y + attrs.border_width,
                             attrs.width, attrs.height};
            info.mapState = attrs.map_state == IsViewable     ? WindowInfo::MapState::Viewable
                            : attrs.map_state == IsUnviewable ? WindowInfo::MapState::Unviewable
                                                              : WindowInfo::MapState::Unmapped;
            if (viewableOnly && !info.viewable()) {
                continue;
            }
            info.overrideRedirect = attrs.override_redirect != 0;
            if (auto name = property(dpy, children[i], impl_->netWmName, impl_->utf8String, 8)) {
                info.title = *name;
            } else if (auto wmName = property(dpy, children[i], XA_WM_NAME, AnyPropertyType, 8)) {
                info.title = *wmName;
            }
            XClassHint hint{nullptr, nullptr};
            if (XGetClassHint(dpy, children[i], &hint) != 0) {
                info.resName = hint.res_name != nullptr ? hint.res_name : "";
                info.resClass = hint.res_class != nullptr ? hint.res_class : "";
                XFree(hint.res_name);
                XFree(hint.res_class);
            }
            const auto pid = property(dpy, children[i], impl_->netWmPid, XA_CARDINAL, 32);
            info.pid = pid && pid->size() == sizeof(long)
                           ? static_cast<pid_t>(*reinterpret_cast<const long*>(pid->data()))
                           : -1;
            result.push_back(std::move(info));
        }
        XFree(children);
    }
    XUngrabServer(dpy);
    XSync(dpy, False);
    return result;
}

std::vector<WindowInfo> X11Client::findWindows(const Predicate& predicate) const {
    std::vector<WindowInfo> result;
    for (auto& w : topLevelWindows()) {
        if (predicate(w)) {
            result.push_back(std::move(w));
        }
    }
    return result;
}

std::optional<WindowInfo> X11Client::waitFor(const Predicate& predicate,
                                             std::chrono::milliseconds timeout) const {
    std::optional<WindowInfo> found;
    waitUntil(
        [&] {
            auto matches = findWindows(predicate);
            if (!matches.empty()) {
                found = matches.front();
            }
            return found.has_value();
        },
        timeout);
    return found;
}

std::vector<WindowEvent> X11Client::windowEvents() {
    XSync(impl_->dpy, False);
    while (XPending(impl_->dpy) > 0) {
        XEvent ev;
        XNextEvent(impl_->dpy, &ev);
        switch (ev.type) {
            case CreateNotify:
                impl_->events.push_back({ev.xcreatewindow.window,
                                         WindowEvent::Kind::Created,
                                         {ev.xcreatewindow.x, ev.xcreatewindow.y,
                                          ev.xcreatewindow.width, ev.xcreatewindow.height}});
                break;
            case MapNotify:
                impl_->events.push_back({ev.xmap.window, WindowEvent::Kind::Mapped, {}});
                break;
            case UnmapNotify:
                impl_->events.push_back({ev.xunmap.window, WindowEvent::Kind::Unmapped, {}});
                break;
            case ConfigureNotify:
                impl_->events.push_back({ev.xconfigure.window,
                                         WindowEvent::Kind::Configured,
                                         {ev.xconfigure.x, ev.xconfigure.y, ev.xconfigure.width,
                                          ev.xconfigure.height}});
                break;
            case DestroyNotify:
                impl_->events.push_back(
                    {ev.xdestroywindow.window, WindowEvent::Kind::Destroyed, {}});
                break;
            default:
                break;
        }
    }
    return impl_->events;
}

bool X11Client::wasMapped(unsigned long window) {
    for (const auto& e : windowEvents()) {
        if (e.window == window && e.kind == WindowEvent::Kind::Mapped) {
            return true;
        }
    }
    return false;
}

Screenshot X11Client::grabScreen() const {
    const Rect s = screen();
    XImage* image = XGetImage(impl_->dpy, impl_->root, 0, 0, static_cast<unsigned>(s.width),
                              static_cast<unsigned>(s.height), AllPlanes, ZPixmap);
    if (image == nullptr) {
        throw std::runtime_error("XGetImage of the root window failed");
    }
    Screenshot shot{s.width, s.height, {}};
    shot.pixels.reserve(static_cast<size_t>(s.width) * static_cast<size_t>(s.height));
    for (int y = 0; y < s.height; ++y) {
        for (int x = 0; x < s.width; ++x) {
            const unsigned long p = XGetPixel(image, x, y);
            const auto channel = [p](unsigned long mask) {
                unsigned long v = p & mask;
                while (mask != 0 && (mask & 1) == 0) {
                    mask >>= 1;
                    v >>= 1;
                }
                return static_cast<std::uint32_t>(v & 0xff);
            };
            shot.pixels.push_back(0xff000000u | channel(image->red_mask) << 16 |
                                  channel(image->green_mask) << 8 | channel(image->blue_mask));
        }
    }
    XDestroyImage(image);
    return shot;
}

std::string X11Client::describeTopLevelWindows() const {
    std::ostringstream out;
    out << "top-level windows:\n";
    for (const auto& w : topLevelWindows()) {
        out << "  " << w << "\n";
    }
    return out.str();
}

}  // namespace tz::e2e
