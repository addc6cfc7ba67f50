#include "harness/BarDriver.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <string>
#include <thread>

#include "harness/Wait.h"

namespace tz::e2e {

namespace bar {

Rect buttonRect(Button button) {
    switch (button) {
        case Button::Exit:
            return {18, 0, 26, 32};
        case Button::NoClick:
            return {0, 36, 45, 50};
        case Button::Double:
            return {0, 86, 45, 52};
        case Button::Left:
            return {0, 138, 45, 50};
        case Button::Drag:
            return {0, 188, 45, 50};
        case Button::Right:
            return {0, 238, 45, 50};
        case Button::Middle:
            break;
        case Button::Options:
            return {0, 290, 45, 28};
        case Button::Help:
            return {0, 322, 45, 33};
    }
    throw std::invalid_argument("the middle-click button is hidden in this layout");
}

}  // namespace bar

namespace {

bool equalsNoCase(std::string a, std::string_view b) {
    std::transform(a.begin(), a.end(), a.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return a == b;
}

}  // namespace

std::optional<WindowInfo> BarDriver::find() const {
    const auto bars = x11_.findWindows([this](const WindowInfo& w) {
        return w.geometry.width == bar::kWidth &&
               (w.pid == pid_ || equalsNoCase(w.resName, "tindro-zevad") ||
                equalsNoCase(w.resClass, "tindro-zevad"));
    });
    if (bars.empty()) {
        return std::nullopt;
    }
    return bars.front();
}

bool BarDriver::waitParked(std::chrono::milliseconds timeout) const {
    return waitUntil(
        [this] {
            const auto b = find();
            return b && b->mapState == WindowInfo::MapState::Unmapped && x11_.wasMapped(b->id);
        },
        timeout);
}

std::optional<WindowInfo> BarDriver::showAtEdge(int y, std::chrono::milliseconds timeout) {
    x11_.movePointer(0, y);
    // Stay at the edge for two of the program's ticks, so that it sees the
    // pointer there whatever state of the bar the server reported last.
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    std::optional<WindowInfo> shown;
    waitUntil(
        [&] {
            shown = find();
            return shown && shown->viewable() && shown->geometry.x == 0;
        },
        timeout);
    if (shown && shown->viewable() && shown->geometry.x == 0) {
        return shown;
    }
    return std::nullopt;
}

std::optional<WindowInfo> BarDriver::moveOnto(bar::Button button,
                                              std::chrono::milliseconds timeout) {
    return moveOnto(bar::buttonRect(button).centre(), timeout);
}

std::optional<WindowInfo> BarDriver::moveOnto(Point spot, std::chrono::milliseconds timeout) {
    auto shown = showAtEdge(bar::kTop + spot.y, timeout);
    if (!shown) {
        return std::nullopt;
    }
    x11_.movePointer(shown->geometry.x + spot.x, shown->geometry.y + spot.y);
    // Let the program take this movement before the next one: the toolkit
    // keeps only the last of several queued movements, which would skip the button.
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    return shown;
}

}  // namespace tz::e2e
