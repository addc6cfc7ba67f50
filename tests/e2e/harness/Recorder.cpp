#include "harness/Recorder.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <stdexcept>

#include "harness/Wait.h"
#include "harness/X11Errors.h"

namespace tz::e2e {

struct Recorder::Impl {
    Display* dpy = nullptr;
    Window window = 0;
    GC gc = nullptr;
    XFontStruct* font = nullptr;
};

std::ostream& operator<<(std::ostream& os, const ButtonEvent& e) {
    return os << "button " << e.button << (e.pressed ? " press" : " release");
}

Recorder::Recorder(const std::string& display, Rect geometry, const std::string& title)
    : impl_(new Impl), geometry_(geometry) {
    installTolerantErrorHandler();
    Display* dpy = XOpenDisplay(display.c_str());
    if (dpy == nullptr) {
        delete impl_;
        throw std::runtime_error("Recorder: cannot open X display " + display);
    }
    impl_->dpy = dpy;
    const int screen = DefaultScreen(dpy);
    XSetWindowAttributes attrs{};
    attrs.override_redirect = True;
    attrs.background_pixel = WhitePixel(dpy, screen);
    attrs.border_pixel = BlackPixel(dpy, screen);
    attrs.event_mask = ButtonPressMask | ButtonReleaseMask | ExposureMask;
    impl_->window = XCreateWindow(
        dpy, DefaultRootWindow(dpy), geometry.x, geometry.y, static_cast<unsigned>(geometry.width),
        static_cast<unsigned>(geometry.height), 0, CopyFromParent, InputOutput, CopyFromParent,
        CWOverrideRedirect | CWBackPixel | CWBorderPixel | CWEventMask, &attrs);
    XStoreName(dpy, impl_->window, title.c_str());
    XChangeProperty(dpy, impl_->window, XInternAtom(dpy, "_NET_WM_NAME", False),
                    XInternAtom(dpy, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title.data()),
                    static_cast<int>(title.size()));
    impl_->gc = XCreateGC(dpy, impl_->window, 0, nullptr);
    XSetForeground(dpy, impl_->gc, BlackPixel(dpy, screen));
    impl_->font = XLoadQueryFont(dpy, "-*-helvetica-bold-r-normal--24-*-*-*-*-*-iso8859-1");
    if (impl_->font == nullptr) {
        impl_->font = XLoadQueryFont(dpy, "fixed");
    }
    if (impl_->font != nullptr) {
        XSetFont(dpy, impl_->gc, impl_->font->fid);
    }
    XMapRaised(dpy, impl_->window);
    XSync(dpy, False);
}

Recorder::~Recorder() {
    if (impl_->font != nullptr) {
        XFreeFont(impl_->dpy, impl_->font);
    }
    XFreeGC(impl_->dpy, impl_->gc);
    XDestroyWindow(impl_->dpy, impl_->window);
    XCloseDisplay(impl_->dpy);
    delete impl_;
}

unsigned long Recorder::window() const {
    return impl_->window;
}

void Recorder::pump() {
    bool exposed = false;
    while (XPending(impl_->dpy) > 0) {
        XEvent ev;
        XNextEvent(impl_->dpy, &ev);
        if (ev.type == ButtonPress || ev.type == ButtonRelease) {
            events_.push_back({static_cast<int>(ev.xbutton.button), ev.type == ButtonPress});
        } else if (ev.type == Expose) {
            exposed = true;
        }
    }
    if (exposed) {
        draw();
    }
}

std::vector<ButtonEvent> Recorder::events() {
    pump();
    return events_;
}

void Recorder::clear() {
    pump();
    events_.clear();
}

bool Recorder::waitForEvents(size_t count, std::chrono::milliseconds timeout) {
    return waitUntil(
        [&] {
            pump();
            return events_.size() >= count;
        },
        timeout);
}

void Recorder::setLabel(const std::string& text) {
    label_ = text;
    draw();
}

void Recorder::draw() {
    XClearWindow(impl_->dpy, impl_->window);
    if (!label_.empty()) {
        int width = 0;
        if (impl_->font != nullptr) {
            width = XTextWidth(impl_->font, label_.c_str(), static_cast<int>(label_.size()));
        }
        XDrawString(impl_->dpy, impl_->window, impl_->gc, (geometry_.width - width) / 2,
                    geometry_.height / 3 + 8, label_.c_str(), static_cast<int>(label_.size()));
    }
    XFlush(impl_->dpy);
}

}  // namespace tz::e2e
