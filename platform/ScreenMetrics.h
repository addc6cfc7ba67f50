#pragma once

namespace tz {

// The screen's size in twips and how many twips make one pixel on each axis.
class ScreenMetrics {
  public:
    virtual ~ScreenMetrics() = default;
    virtual double widthTwips() = 0;
    virtual double heightTwips() = 0;
    virtual double twipsPerPixelX() = 0;
    virtual double twipsPerPixelY() = 0;
};

}  // namespace tz
