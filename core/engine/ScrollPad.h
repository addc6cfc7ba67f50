#pragma once
#include <optional>

#include "platform/ClickInjector.h"

namespace tz {

// The scroll pad's size in window pixels (before the desktop's scaling): the
// whole pad, and the dead zone in its middle where nothing scrolls.
inline constexpr double kScrollPadDiameter = 120;
inline constexpr double kScrollPadDeadDiameter = 30;
// Wheel steps a second at the dead zone's edge and at the pad's rim.
inline constexpr double kScrollSlowestRate = 2;
inline constexpr double kScrollFastestRate = 15;

// What the pad does with the pointer at an offset from its centre.
struct ScrollPadZone {
    // The pointer is on the pad (the dead zone included).
    bool inside = false;
    // The way it scrolls there; none in the dead zone and off the pad.
    std::optional<WheelStep> step;
    // Wheel steps a second; 0 where nothing scrolls.
    double rate = 0;
};

// The zone at (dx, dy) screen pixels from the centre (y grows downwards), on a
// pad drawn `scale` screen pixels per window pixel. The side the pointer leans
// to most wins: up and down where the offset is at least as tall as wide.
ScrollPadZone scrollPadZone(double dx, double dy, double scale);

}  // namespace tz
