#include "platform/linux/X11GlobalKey.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>

#include <array>

namespace tz {

namespace {

// Caps Lock and Num Lock, each on or off.
constexpr std::array<unsigned int, 4> kLockStates = {0, LockMask, Mod2Mask, LockMask | Mod2Mask};

// The grab requests' errors: BadAccess means another client holds the key.
// Xlib has one error handler for the whole process, so it is set only
// around the requests, and errors of other connections go to the one before.
Display* grabbingDisplay = nullptr;
bool accessRefused = false;
XErrorHandler previousHandler = nullptr;

int noteGrabError(Display* display, XErrorEvent* error) {
    if (display != grabbingDisplay) {
        return previousHandler != nullptr ? previousHandler(display, error) : 0;
    }
    accessRefused = accessRefused || error->error_code == BadAccess;
    return 0;
}

}  // namespace

X11GlobalKey::X11GlobalKey()
    : connection_(X11EventConnection::open([this] { readEvents(); }, false)) {
    if (connection_) {
        // Auto-repeat sends presses alone, without the releases between them.
        Bool supported = False;
        XkbSetDetectableAutoRepeat(connection_->display(), True, &supported);
    }
}

X11GlobalKey::~X11GlobalKey() = default;  // the grabs end with the connection

bool X11GlobalKey::grab(const std::string& keyName, std::function<void()> onPress) {
    release();
    if (keyName.empty()) {
        return true;
    }
    if (!connection_) {
        return false;
    }
    Display* display = connection_->display();
    const KeySym keysym = XStringToKeysym(keyName.c_str());
    const int keycode = keysym == NoSymbol ? 0 : XKeysymToKeycode(display, keysym);
    if (keycode == 0) {
        return false;
    }
    const Window root = DefaultRootWindow(display);
    XSync(display, False);
    grabbingDisplay = display;
    accessRefused = false;
    previousHandler = XSetErrorHandler(noteGrabError);
    for (unsigned int locks : kLockStates) {
        XGrabKey(display, keycode, locks, root, False, GrabModeAsync, GrabModeAsync);
    }
    XSync(display, False);
    XSetErrorHandler(previousHandler);
    grabbingDisplay = nullptr;
    if (accessRefused) {
        // The lock states that were granted go too.
        for (unsigned int locks : kLockStates) {
            XUngrabKey(display, keycode, locks, root);
        }
        XFlush(display);
        return false;
    }
    keycode_ = keycode;
    onPress_ = std::move(onPress);
    return true;
}

void X11GlobalKey::release() {
    if (!connection_ || keycode_ == 0) {
        return;
    }
    Display* display = connection_->display();
    for (unsigned int locks : kLockStates) {
        XUngrabKey(display, keycode_, locks, DefaultRootWindow(display));
    }
    XFlush(display);
    keycode_ = 0;
    keyDown_ = false;
    onPress_ = nullptr;
}

void X11GlobalKey::readEvents() {
    int presses = 0;
    Display* display = connection_->display();
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == KeyPress && static_cast<int>(event.xkey.keycode) == keycode_) {
            presses += keyDown_ ? 0 : 1;  // a repeat while held is no new press
            keyDown_ = true;
        } else if (event.type == KeyRelease && static_cast<int>(event.xkey.keycode) == keycode_) {
            keyDown_ = false;
        }
    }
    for (; presses > 0 && onPress_; --presses) {
        onPress_();
    }
}

}  // namespace tz
