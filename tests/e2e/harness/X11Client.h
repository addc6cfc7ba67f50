#pragma once
#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "harness/Geometry.h"

namespace tz::e2e {

struct WindowInfo {
    enum class MapState { Unmapped, Unviewable, Viewable };

    unsigned long id = 0;
    Rect geometry;  // absolute, border excluded
    MapState mapState = MapState::Unmapped;
    bool overrideRedirect = false;
    std::string title;  // _NET_WM_NAME, else WM_NAME
    std::string resName;
    std::string resClass;
    pid_t pid = -1;  // _NET_WM_PID, -1 when absent

    bool viewable() const { return mapState == MapState::Viewable; }
};

std::ostream& operator<<(std::ostream& os, const WindowInfo& w);

// A change of a top-level window, as the server reported it.
struct WindowEvent {
    enum class Kind { Created, Mapped, Unmapped, Configured, Destroyed };
    unsigned long window = 0;
    Kind kind = Kind::Created;
    Rect geometry;  // for Created and Configured
};

// An RGB32 (0xffRRGGBB) copy of the screen.
struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// The test's own connection to the X server: fakes pointer motion and buttons
// (XTest) and inspects the top-level windows.
class X11Client {
  public:
    using Predicate = std::function<bool(const WindowInfo&)>;

    explicit X11Client(const std::string& display);
    ~X11Client();
    X11Client(const X11Client&) = delete;
    X11Client& operator=(const X11Client&) = delete;

    Rect screen() const;
    void movePointer(int x, int y);
    void movePointer(Point p) { movePointer(p.x, p.y); }
    // Moves the pointer by warping it: XTest motion stays on the first screen
    // of a server that joins several with Xinerama.
    void warpPointer(int x, int y);
    Point pointer() const;
    // Resizes a window; without a window manager the new size takes at once.
    void resizeWindow(unsigned long window, int width, int height);

    // The children of the root window, bottom to top.
    std::vector<WindowInfo> topLevelWindows(bool viewableOnly = false) const;
    // Every top-level window, one per line, for failure messages.
    std::string describeTopLevelWindows() const;
    std::vector<WindowInfo> findWindows(const Predicate& predicate) const;
    // The first top-level window matching `predicate` within `timeout`.
    std::optional<WindowInfo> waitFor(const Predicate& predicate,
                                      std::chrono::milliseconds timeout) const;

    // Every map, unmap, configure, create and destroy of a top-level window
    // since this connection opened, in order: unlike polling, it misses no
    // short-lived state.
    std::vector<WindowEvent> windowEvents();
    bool wasMapped(unsigned long window);

    Screenshot grabScreen() const;

  private:
    struct Impl;
    Impl* impl_;
};

}  // namespace tz::e2e
