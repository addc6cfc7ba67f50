#include "core/engine/ClickInjection.h"

namespace tz {

void LeftClick(ClickInjector& injector) {
    injector.send(MouseEvent::LeftDown);
    injector.send(MouseEvent::LeftUp);
}

void RightClick(ClickInjector& injector) {
    injector.send(MouseEvent::RightDown);
    injector.send(MouseEvent::RightUp);
}

void MiddleClick(ClickInjector& injector) {
    injector.send(MouseEvent::MiddleDown);
    injector.send(MouseEvent::MiddleUp);
}

}  // namespace tz
