#pragma once
#include "core/AppState.h"
#include "gui/CountdownRing.h"
#include "gui/TrayIndicator.h"

namespace tz {

class ClickBar;
class WindowManager;

// What the user sees of the coming click away from the bar: the countdown
// ring beside the pointer and the tray icon. Both follow the engine after
// every dwell tick; the tray menu's commands go to the bar as its own
// buttons' would.
class ClickFeedback {
  public:
    ClickFeedback(AppState& app, ClickBar& bar, WindowManager& windows);

    // After each dwell tick: the ring shows the pending click's count, the
    // tray icon the click kind in force.
    void afterTick();
    // The ring's size and whether the tray icon shows, from the preferences.
    void applyExtras();
    void retranslate(const TextTable& texts);

  private:
    AppState& app_;
    ClickBar& bar_;
    CountdownRing ring_;
    TrayIndicator tray_;
    // The mode the tray icon shows; Exit until the first tick.
    ClickMode shownMode_ = ClickMode::Exit;
};

}  // namespace tz
