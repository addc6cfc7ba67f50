#pragma once
#include <memory>

#include "core/AppState.h"
#include "gui/WindowManager.h"
#include "platform/Platform.h"

namespace tz {

class Form1;

// Owns the program-level state and the bar window for the whole run.
class Application {
  public:
    Application(Platform& platform, const std::string& versionUrl);
    ~Application();

    // Runs the start-up sequence and the event loop; returns the exit status.
    int run();

    AppState& state() { return state_; }
    Form1& bar() { return *bar_; }
    ProgramWindows& windows() { return windows_; }

  private:
    AppState state_;
    ProgramWindows windows_;
    std::unique_ptr<Form1> bar_;
};

}  // namespace tz
