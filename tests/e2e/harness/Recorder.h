#pragma once
#include <chrono>
#include <ostream>
#include <string>
#include <vector>

#include "harness/Geometry.h"

namespace tz::e2e {

struct ButtonEvent {
    int button = 0;  // 1 left, 2 middle, 3 right
    bool pressed = false;
    bool operator==(const ButtonEvent&) const = default;
};

std::ostream& operator<<(std::ostream& os, const ButtonEvent& e);

// Shorthands for expected event lists.
inline ButtonEvent press(int button) {
    return {button, true};
}
inline ButtonEvent release(int button) {
    return {button, false};
}

// A plain override-redirect window (no window manager needed) on its own
// connection, recording the button presses and releases it receives. Shown
// and raised on construction.
class Recorder {
  public:
    explicit Recorder(const std::string& display, Rect geometry = {400, 300, 300, 200},
                      const std::string& title = "Target");
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    const Rect& geometry() const { return geometry_; }
    Point centre() const { return geometry_.centre(); }
    unsigned long window() const;

    // Reads pending events; events() pumps first.
    void pump();
    std::vector<ButtonEvent> events();
    void clear();
    // Pumps until at least `count` events arrived; false on timeout.
    bool waitForEvents(size_t count, std::chrono::milliseconds timeout);

    // A line of text drawn in the window (redrawn on expose).
    void setLabel(const std::string& text);

  private:
    void draw();

    struct Impl;
    Impl* impl_;
    Rect geometry_;
    std::vector<ButtonEvent> events_;
    std::string label_;
};

}  // namespace tz::e2e
