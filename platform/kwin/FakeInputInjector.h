#pragma once
#include <cstdint>
#include <set>

#include "platform/ClickInjector.h"

struct wl_display;
struct wl_registry;
struct org_kde_kwin_fake_input;

namespace tz {

// Injects button events and wheel steps in KDE Plasma's Wayland session with
// KWin's fake-input protocol, on a Wayland connection of its own. KWin offers
// the protocol only to an executable named in an installed .desktop file that
// lists org_kde_kwin_fake_input in X-KDE-Wayland-Interfaces. A button still
// held (the first half of a drag) is let go when this object goes.
class FakeInputInjector : public ClickInjector {
  public:
    FakeInputInjector();
    ~FakeInputInjector() override;
    FakeInputInjector(const FakeInputInjector&) = delete;
    FakeInputInjector& operator=(const FakeInputInjector&) = delete;

    // Whether KWin granted fake input.
    bool ready() const { return fakeInput_ != nullptr; }

    void send(ButtonEvent event) override;
    // Axis motions of one wheel step each: up and left negative.
    void sendWheelStep(WheelStep step) override;

  private:
    void button(std::uint32_t code, bool pressed);
    void flush();
    static void onGlobal(void* self, wl_registry* registry, std::uint32_t name,
                         const char* interface, std::uint32_t version);
    static void onGlobalRemove(void*, wl_registry*, std::uint32_t) {}

    wl_display* display_ = nullptr;
    wl_registry* registry_ = nullptr;
    org_kde_kwin_fake_input* fakeInput_ = nullptr;
    std::set<std::uint32_t> held_;
};

}  // namespace tz
