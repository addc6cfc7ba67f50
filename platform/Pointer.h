#pragma once
#include <cstdint>

namespace tz {

struct PointerPosition {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// Where the pointer is on the screen, in pixels.
class Pointer {
  public:
    virtual ~Pointer() = default;
    virtual PointerPosition position() = 0;
};

}  // namespace tz
