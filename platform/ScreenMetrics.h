#pragma once
#include <cstdint>

namespace tz {

// A rectangle of the desktop in twips.
struct ScreenArea {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    bool operator==(const ScreenArea&) const = default;
};

// The screen's size in twips and how many twips make one pixel on each axis.
class ScreenMetrics {
  public:
    virtual ~ScreenMetrics() = default;
    // The primary monitor, where the windows open.
    virtual double widthTwips() = 0;
    virtual double heightTwips() = 0;
    virtual double twipsPerPixelX() = 0;
    virtual double twipsPerPixelY() = 0;
    // How many screen pixels one pixel of window geometry covers: 1, or 2 on a
    // desktop that draws windows at double size. The windows keep their
    // layout in window pixels, so that they scale as a whole.
    virtual double windowScale() = 0;
    // The whole desktop across every monitor: its right edge is the right
    // edge of the rightmost monitor.
    virtual double desktopWidthTwips() = 0;
    // The monitor holding the pixel (x, y), or the nearest one when no
    // monitor does.
    virtual ScreenArea monitorAt(std::int32_t x, std::int32_t y) = 0;
};

}  // namespace tz
