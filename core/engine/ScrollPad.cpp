#include "core/engine/ScrollPad.h"

#include <cmath>

namespace tz {

ScrollPadZone scrollPadZone(double dx, double dy, double scale) {
    const double rim = kScrollPadDiameter / 2 * scale;
    const double dead = kScrollPadDeadDiameter / 2 * scale;
    const double distance = std::hypot(dx, dy);
    ScrollPadZone zone;
    zone.inside = distance <= rim;
    if (!zone.inside || distance <= dead) {
        return zone;
    }
    if (std::abs(dy) >= std::abs(dx)) {
        zone.step = dy < 0 ? WheelStep::Up : WheelStep::Down;
    } else {
        zone.step = dx < 0 ? WheelStep::Left : WheelStep::Right;
    }
    // Faster the further out, evenly from the dead zone's edge to the rim.
    zone.rate = kScrollSlowestRate +
                (kScrollFastestRate - kScrollSlowestRate) * (distance - dead) / (rim - dead);
    return zone;
}

}  // namespace tz
