#include "platform/linux/QtScreenMetrics.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <climits>
#include <limits>

#include "platform/linux/X11Connection.h"

// Xlib's macros (Bool, Status, None) clash with Qt's headers: after them.
#include <X11/Xlib.h>
#include <X11/extensions/Xinerama.h>

namespace tz {

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kDefaultTwipsPerPixel = 15.0;

double twipsPerPixel(double dotsPerInch) {
    return dotsPerInch > 0 ? kTwipsPerInch / dotsPerInch : kDefaultTwipsPerPixel;
}

// How far (x, y) lies outside the rectangle, as a squared distance.
double distanceSquared(long left, long top, long width, long height, std::int32_t x,
                       std::int32_t y) {
    const double dx = x < left ? left - x : (x >= left + width ? x - (left + width - 1) : 0);
    const double dy = y < top ? top - y : (y >= top + height ? y - (top + height - 1) : 0);
    return dx * dx + dy * dy;
}

}  // namespace

double QtScreenMetrics::widthTwips() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().width() * screen->devicePixelRatio() * twipsPerPixelX() : 0;
}

double QtScreenMetrics::heightTwips() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().height() * screen->devicePixelRatio() * twipsPerPixelY() : 0;
}

double QtScreenMetrics::twipsPerPixelX() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return twipsPerPixel(screen ? screen->logicalDotsPerInchX() * screen->devicePixelRatio() : 0);
}

double QtScreenMetrics::twipsPerPixelY() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return twipsPerPixel(screen ? screen->logicalDotsPerInchY() * screen->devicePixelRatio() : 0);
}

double QtScreenMetrics::windowScale() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->devicePixelRatio() : 1;
}

const QtScreenMetrics::Layout& QtScreenMetrics::layout() {
    constexpr auto kFreshFor = std::chrono::milliseconds(500);
    const auto now = std::chrono::steady_clock::now();
    if (!asked_ || now - askedAt_ >= kFreshFor) {
        layout_ = askServer();
        askedAt_ = now;
        asked_ = true;
    }
    return layout_;
}

QtScreenMetrics::Layout QtScreenMetrics::askServer() {
    Layout layout;
    Display* display = x11_.display();
    if (display == nullptr) {
        return layout;
    }
    Window root = 0;
    int x = 0, y = 0;
    unsigned int width = 0, height = 0, border = 0, depth = 0;
    if (XGetGeometry(display, DefaultRootWindow(display), &root, &x, &y, &width, &height, &border,
                     &depth)) {
        layout.desktop = PixelRect{0, 0, static_cast<long>(width), static_cast<long>(height)};
    }
    const std::optional<PixelRect>& whole = layout.desktop;
    if (XineramaIsActive(display)) {
        int count = 0;
        if (XineramaScreenInfo* info = XineramaQueryScreens(display, &count)) {
            // The heads can lag behind a resized screen: what lies outside the
            // root window is not there.
            const long rootWidth = whole ? whole->width : LONG_MAX;
            const long rootHeight = whole ? whole->height : LONG_MAX;
            for (int i = 0; i < count; ++i) {
                const long left = info[i].x_org, top = info[i].y_org;
                const long headWidth = std::min<long>(info[i].width, rootWidth - left);
                const long headHeight = std::min<long>(info[i].height, rootHeight - top);
                if (headWidth > 0 && headHeight > 0) {
                    layout.monitors.push_back({left, top, headWidth, headHeight});
                }
            }
            XFree(info);
        }
    }
    // Without heads the whole desktop is one monitor.
    if (layout.monitors.empty() && whole) {
        layout.monitors.push_back(*whole);
    }
    return layout;
}

double QtScreenMetrics::desktopWidthTwips() {
    const std::optional<PixelRect>& whole = layout().desktop;
    return whole ? whole->width * twipsPerPixelX() : widthTwips();
}

ScreenArea QtScreenMetrics::monitorAt(std::int32_t x, std::int32_t y) {
    const std::vector<PixelRect>& heads = layout().monitors;
    if (heads.empty()) {
        return {0, 0, widthTwips(), heightTwips()};
    }
    const PixelRect* nearest = &heads.front();
    double best = std::numeric_limits<double>::max();
    for (const PixelRect& head : heads) {
        const double d = distanceSquared(head.left, head.top, head.width, head.height, x, y);
        if (d < best) {
            best = d;
            nearest = &head;
        }
    }
    const double tppX = twipsPerPixelX();
    const double tppY = twipsPerPixelY();
    return {nearest->left * tppX, nearest->top * tppY, nearest->width * tppX,
            nearest->height * tppY};
}

}  // namespace tz
