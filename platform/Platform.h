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
};

}  // namespace tz
