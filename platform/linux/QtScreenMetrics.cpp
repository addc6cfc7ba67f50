#include "platform/linux/QtScreenMetrics.h"

#include <QGuiApplication>
#include <QScreen>

namespace tz {

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kDefaultTwipsPerPixel = 15.0;

double twipsPerPixel(double dotsPerInch) {
    return dotsPerInch > 0 ? kTwipsPerInch / dotsPerInch : kDefaultTwipsPerPixel;
}

}  // namespace

double QtScreenMetrics::widthTwips() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().width() * twipsPerPixelX() : 0;
}

double QtScreenMetrics::heightTwips() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().height() * twipsPerPixelY() : 0;
}

double QtScreenMetrics::twipsPerPixelX() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return twipsPerPixel(screen ? screen->logicalDotsPerInchX() : 0);
}

double QtScreenMetrics::twipsPerPixelY() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return twipsPerPixel(screen ? screen->logicalDotsPerInchY() : 0);
}

}  // namespace tz
