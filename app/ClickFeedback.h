#pragma once
#include "core/AppState.h"
#include "gui/CountdownRing.h"
#include "gui/ScrollPadWindow.h"
#include "gui/TrayIndicator.h"
#include "platform/Pointer.h"
#include "platform/ScreenMetrics.h"

namespace tz {

class ClickBar;
class WindowManager;

// What the user sees of the coming click away from the bar: the countdown
// ring beside the pointer, the scroll pad and the tray icon. Both follow the engine after
// every dwell tick; the tray menu's commands go to the bar as its own
// buttons' would.
class ClickFeedback {
  public:
    ClickFeedback(AppState& app, ClickBar& bar, WindowManager& windows, ScreenMetrics& screen,
                  bool overlaysPassInput);

    // After each dwell tick: the ring shows the pending click's count, the
    // pad shows where the engine placed it, the tray icon the click kind in force.
    void afterTick();
    // The ring's size and whether the tray icon shows, from the preferences.
    void applyExtras();
    void retranslate(const TextTable& texts);

  private:
    // Where the tick just found the pointer, in window pixels: no second
    // query of the X server.
    QPoint pointer() const;
    // A position in screen pixels as window pixels (Qt's, on the monitor there).
    QPoint inWindowPixels(PointerPosition at) const;
    // Where overlays catch the wheel, the pad steps aside while it scrolls, so
    // that its steps reach the window under it; it shows again in the dead zone.
    bool padStepsAside(PointerPosition centre) const;

    AppState& app_;
    ClickBar& bar_;
    ScreenMetrics& screen_;
    const bool overlaysPassInput_;
    CountdownRing ring_;
    ScrollPadWindow pad_;
    TrayIndicator tray_;
    // The mode the tray icon shows; Exit until the first tick.
    ClickMode shownMode_ = ClickMode::Exit;
};

}  // namespace tz
