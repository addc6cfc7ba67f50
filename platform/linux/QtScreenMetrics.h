#pragma once
#include <chrono>
#include <optional>
#include <vector>

#include "platform/ScreenMetrics.h"

namespace tz {

class X11Connection;

// The screen as Qt and the X server report it. Twips per pixel follow the
// primary screen's logical resolution: 15 at 96 dots per inch. The desktop and
// its monitors come from the X server itself (the root window and the
// Xinerama heads), asked again when the last answer is half a second old, so
// that a resized screen or an added or removed monitor counts within that
// time while a dwell tick costs no extra round trips to the server.
class QtScreenMetrics : public ScreenMetrics {
  public:
    explicit QtScreenMetrics(X11Connection& x11) : x11_(x11) {}

    double widthTwips() override;
    double heightTwips() override;
    double twipsPerPixelX() override;
    double twipsPerPixelY() override;
    double windowScale() override;
    double desktopWidthTwips() override;
    ScreenArea monitorAt(std::int32_t x, std::int32_t y) override;

  private:
    struct PixelRect {
        long left, top, width, height;
    };
    struct Layout {
        std::optional<PixelRect> desktop;  // the root window; none when the server cannot be asked
        std::vector<PixelRect> monitors;
    };
    const Layout& layout();
    Layout askServer();

    X11Connection& x11_;
    Layout layout_;
    std::chrono::steady_clock::time_point askedAt_;
    bool asked_ = false;
};

}  // namespace tz
