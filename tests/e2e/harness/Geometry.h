#pragma once
#include <ostream>

namespace tz::e2e {

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    Point centre() const { return {x + width / 2, y + height / 2}; }
    bool operator==(const Rect&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Point& p) {
    return os << "(" << p.x << "," << p.y << ")";
}

inline std::ostream& operator<<(std::ostream& os, const Rect& r) {
    return os << r.width << "x" << r.height << "+" << r.x << "+" << r.y;
}

}  // namespace tz::e2e
