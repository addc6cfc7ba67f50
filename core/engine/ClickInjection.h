#pragma once
#include "platform/ClickInjector.h"

namespace tz {

// One complete click of a button where the pointer rests: the down event,
// then the up event, with no pause and no check of the outcome.
void LeftClick(ClickInjector& injector);
void RightClick(ClickInjector& injector);
void MiddleClick(ClickInjector& injector);

}  // namespace tz
