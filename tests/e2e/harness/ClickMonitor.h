#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "harness/Geometry.h"

namespace tz::e2e {

struct GlobalButtonEvent {
    int button = 0;
    bool pressed = false;
    Point at;  // pointer position on the root window
};

std::ostream& operator<<(std::ostream& os, const GlobalButtonEvent& e);

// Sees every button press and release on the display, whichever window gets
// it (or none), through the RECORD extension. Used to prove that no click was
// injected anywhere.
class ClickMonitor {
  public:
    explicit ClickMonitor(const std::string& display);
    ~ClickMonitor();
    ClickMonitor(const ClickMonitor&) = delete;
    ClickMonitor& operator=(const ClickMonitor&) = delete;

    void pump();
    std::vector<GlobalButtonEvent> events();  // pumps first
    void clear();

    struct Impl;  // opaque; public for the RECORD callback

  private:
    Impl* impl_;
};

}  // namespace tz::e2e
