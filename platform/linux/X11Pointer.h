#pragma once
#include "platform/Pointer.h"
#include "platform/linux/X11Connection.h"

namespace tz {

// Reads the pointer with XQueryPointer on the root window.
class X11Pointer : public Pointer {
  public:
    explicit X11Pointer(X11Connection& connection) : connection_(connection) {}
    PointerPosition position() override;

  private:
    X11Connection& connection_;
    PointerPosition last_;
};

}  // namespace tz
