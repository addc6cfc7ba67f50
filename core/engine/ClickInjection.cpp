#include "core/engine/ClickInjection.h"

namespace tz {

namespace {

void click(ClickInjector& injector, MouseButton button) {
    injector.send({button, true});
    injector.send({button, false});
}

}  // namespace

void LeftClick(ClickInjector& injector) {
    click(injector, MouseButton::Left);
}

void RightClick(ClickInjector& injector) {
    click(injector, MouseButton::Right);
}

void MiddleClick(ClickInjector& injector) {
    click(injector, MouseButton::Middle);
}

}  // namespace tz
