#include "platform/kwin/FakeInputInjector.h"

#include <linux/input-event-codes.h>
#include <poll.h>
#include <wayland-client.h>

#include <cstring>

#include "fake-input-client-protocol.h"

namespace tz {

namespace {

// Xwayland turns 10 units of axis motion into one wheel button (4 to 7) of
// its X clients, which is what one step is to the X11 version of the program.
constexpr double kWheelStepUnits = 10.0;

}  // namespace

FakeInputInjector::FakeInputInjector() {
    display_ = wl_display_connect(nullptr);
    if (!display_) {
        return;
    }
    static const wl_registry_listener listener = {&FakeInputInjector::onGlobal,
                                                  &FakeInputInjector::onGlobalRemove};
    registry_ = wl_display_get_registry(display_);
    wl_registry_add_listener(registry_, &listener, this);
    wl_display_roundtrip(display_);
    if (fakeInput_) {
        org_kde_kwin_fake_input_authenticate(fakeInput_, "Tindro Zevad",
                                             "clicks where the pointer rests");
        wl_display_roundtrip(display_);
    }
}

FakeInputInjector::~FakeInputInjector() {
    if (fakeInput_) {
        for (const std::uint32_t code : std::set<std::uint32_t>(held_)) {
            button(code, false);
        }
        org_kde_kwin_fake_input_destroy(fakeInput_);
        flush();
    }
    if (registry_) {
        wl_registry_destroy(registry_);
    }
    if (display_) {
        wl_display_disconnect(display_);
    }
}

void FakeInputInjector::onGlobal(void* self, wl_registry* registry, std::uint32_t name,
                                 const char* interface, std::uint32_t version) {
    auto* injector = static_cast<FakeInputInjector*>(self);
    if (std::strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= 1 &&
        !injector->fakeInput_) {
        injector->fakeInput_ = static_cast<org_kde_kwin_fake_input*>(
            wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 1));
    }
}

void FakeInputInjector::send(ButtonEvent event) {
    const std::uint32_t code = event.button == MouseButton::Left    ? BTN_LEFT
                               : event.button == MouseButton::Right ? BTN_RIGHT
                                                                    : BTN_MIDDLE;
    button(code, event.pressed);
}

void FakeInputInjector::sendWheelStep(WheelStep step) {
    if (!fakeInput_) {
        return;
    }
    const bool vertical = step == WheelStep::Up || step == WheelStep::Down;
    const bool back = step == WheelStep::Up || step == WheelStep::Left;
    org_kde_kwin_fake_input_axis(
        fakeInput_, vertical ? WL_POINTER_AXIS_VERTICAL_SCROLL : WL_POINTER_AXIS_HORIZONTAL_SCROLL,
        wl_fixed_from_double(back ? -kWheelStepUnits : kWheelStepUnits));
    flush();
}

void FakeInputInjector::button(std::uint32_t code, bool pressed) {
    if (!fakeInput_) {
        return;
    }
    org_kde_kwin_fake_input_button(
        fakeInput_, code,
        pressed ? WL_POINTER_BUTTON_STATE_PRESSED : WL_POINTER_BUTTON_STATE_RELEASED);
    if (pressed) {
        held_.insert(code);
    } else {
        held_.erase(code);
    }
    flush();
}

// Sends at once, and reads what KWin sent back without ever waiting for it:
// a compositor that stops reading must not freeze the clicks' caller.
void FakeInputInjector::flush() {
    while (wl_display_prepare_read(display_) != 0) {
        wl_display_dispatch_pending(display_);
    }
    wl_display_flush(display_);
    pollfd readable{wl_display_get_fd(display_), POLLIN, 0};
    if (poll(&readable, 1, 0) > 0) {
        wl_display_read_events(display_);
    } else {
        wl_display_cancel_read(display_);
    }
    wl_display_dispatch_pending(display_);
}

}  // namespace tz
