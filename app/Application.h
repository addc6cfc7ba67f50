#pragma once
#include <memory>

#include "core/AppState.h"
#include "gui/WindowManager.h"
#include "platform/Platform.h"

namespace tz {

class ClickBar;
class ClickFeedback;

// Owns the program-level state and the bar window for the whole run.
class Application {
  public:
    Application(Platform& platform, const std::string& versionUrl);
    ~Application();

    // Runs the start-up sequence and the event loop, with "Find my settings"
    // open from the start when asked; returns the exit status.
    int run(bool findSettings = false);

    AppState& state() { return state_; }
    ClickBar& bar() { return *bar_; }
    WindowManager& windows() { return windows_; }

  private:
    AppState state_;
    WindowManager windows_;
    std::unique_ptr<ClickBar> bar_;
    std::unique_ptr<ClickFeedback> feedback_;
};

}  // namespace tz
