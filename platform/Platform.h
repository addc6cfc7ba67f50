#pragma once
#include "platform/ClickInjector.h"
#include "platform/GlobalKey.h"
#include "platform/HttpFetch.h"
#include "platform/InstanceLock.h"
#include "platform/Locale.h"
#include "platform/PhysicalPressWatch.h"
#include "platform/Pointer.h"
#include "platform/PointerMotionWatch.h"
#include "platform/ProgramFolder.h"
#include "platform/ScreenMetrics.h"
#include "platform/Shell.h"
#include "platform/Sound.h"
#include "platform/StartupEntryStore.h"

namespace tz {

// The platform services the windows use, gathered so they travel together.
struct Platform {
    Pointer& pointer;
    ClickInjector& injector;
    ScreenMetrics& screen;
    Sound& sound;
    Shell& shell;
    ProgramFolder& programFolder;
    Locale& locale;
    InstanceLock& instanceLock;
    StartupEntryStore& startupEntry;
    HttpFetch& http;
    PointerMotionWatch& motionWatch;
    PhysicalPressWatch& pressWatch;
    GlobalKey& pauseKey;
    // Whether pointer events pass through the program's see-through overlays
    // (the countdown ring, the scroll pad) to the window under them. KWin 5
    // gives them to an Xwayland window's whole rectangle, whatever its input
    // shape.
    bool overlaysPassInput = true;
};

}  // namespace tz
