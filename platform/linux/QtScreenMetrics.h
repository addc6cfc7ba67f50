#pragma once
#include "platform/ScreenMetrics.h"

namespace tz {

// The primary screen as Qt reports it. Twips per pixel follow the screen's
// logical resolution: 15 at 96 dots per inch.
class QtScreenMetrics : public ScreenMetrics {
  public:
    double widthTwips() override;
    double heightTwips() override;
    double twipsPerPixelX() override;
    double twipsPerPixelY() override;
};

}  // namespace tz
