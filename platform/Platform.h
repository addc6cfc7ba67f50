#pragma once
#include "platform/ClickInjector.h"
#include "platform/Pointer.h"
#include "platform/ProgramFolder.h"
#include "platform/ScreenMetrics.h"
#include "platform/Shell.h"
#include "platform/Sound.h"

namespace tz {

// The platform services the windows use, gathered so they travel together.
struct Platform {
    Pointer& pointer;
    ClickInjector& injector;
    ScreenMetrics& screen;
    Sound& sound;
    Shell& shell;
    ProgramFolder& programFolder;
};

}  // namespace tz
