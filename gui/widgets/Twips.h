#pragma once
#include <QRect>
#include <cmath>

#include "platform/ScreenMetrics.h"

namespace tz {

// Window and control geometry is kept in twips (1/1440 inch); Qt wants window
// pixels, which cover windowScale() screen pixels each.
inline int twipsToPixelsX(ScreenMetrics& screen, double twips) {
    return static_cast<int>(std::lround(twips / (screen.twipsPerPixelX() * screen.windowScale())));
}

inline int twipsToPixelsY(ScreenMetrics& screen, double twips) {
    return static_cast<int>(std::lround(twips / (screen.twipsPerPixelY() * screen.windowScale())));
}

inline QRect twipsToPixels(ScreenMetrics& screen, double left, double top, double width,
                           double height) {
    return QRect(twipsToPixelsX(screen, left), twipsToPixelsY(screen, top),
                 twipsToPixelsX(screen, width), twipsToPixelsY(screen, height));
}

}  // namespace tz
