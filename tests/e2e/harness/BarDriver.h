#pragma once
#include <sys/types.h>

#include <chrono>
#include <optional>

#include "harness/Geometry.h"
#include "harness/X11Client.h"

namespace tz::e2e {

// The bar's layout on a 1280x1024 screen at 96 dpi, middle-click button hidden.
namespace bar {

inline constexpr int kWidth = 45;
inline constexpr int kHeight = 359;
inline constexpr int kHeightWithMiddle = 411;
inline constexpr int kTop = 294;  // vertically centred: 293.5 rounded

// Button index = click mode for NoClick..Middle.
enum class Button { Exit, NoClick, Double, Left, Drag, Right, Middle, Options, Help };

// Relative to the bar's top-left corner; throws for the hidden middle button.
Rect buttonRect(Button button);

// A spot of bare background (beside the exit button).
inline constexpr Point kBackground{5, 5};

}  // namespace bar

// Finds and drives the program's bar: a top-level window 45 px wide belonging
// to the program (by _NET_WM_PID or WM_CLASS "tindro-zevad").
class BarDriver {
  public:
    BarDriver(X11Client& x11, pid_t programPid) : x11_(x11), pid_(programPid) {}

    std::optional<WindowInfo> find() const;
    // True once the bar, after having been shown, is hidden (unmapped).
    // Where X keeps a hidden window is not checked: Qt applies a move of a
    // hidden window only when it shows it again.
    bool waitParked(std::chrono::milliseconds timeout) const;
    // Touches the left edge at height `y`; the bar once shown at x = 0.
    std::optional<WindowInfo> showAtEdge(int y, std::chrono::milliseconds timeout);
    // Calls up the bar at the button's height and moves onto the button's
    // centre (or onto `spot`, relative to the bar). Returns the shown bar.
    std::optional<WindowInfo> moveOnto(bar::Button button, std::chrono::milliseconds timeout);
    std::optional<WindowInfo> moveOnto(Point spot, std::chrono::milliseconds timeout);

  private:
    X11Client& x11_;
    pid_t pid_;
};

}  // namespace tz::e2e
