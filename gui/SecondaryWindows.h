#pragma once

namespace tz {

// The bar's view of the options and exit windows. A window is made only by
// the calls that say so; its load step runs then (it saves ClickMode and
// forces it to 3), so when it is made matters.
class SecondaryWindows {
  public:
    virtual ~SecondaryWindows() = default;
    // Make the window if it does not exist yet.
    virtual void makeOptionsWindow() = 0;
    virtual void makeExitWindow() = 0;
    // False while the window does not exist.
    virtual bool isOptionsWindowVisible() = 0;
    virtual bool isExitWindowVisible() = 0;
    // Makes sure the window exists and shows it, not modal.
    virtual void showOptionsWindow() = 0;
    // Makes sure the window exists, applies the texts and shows it, not modal.
    virtual void showExitWindow() = 0;
    // Puts the text table on the bar, the options window and the exit window,
    // making those two windows first if they do not exist.
    virtual void applyTexts() = 0;
    // The options window, if it exists, shows the values of Settings in force
    // now (start-up gives them their defaults after creating it).
    virtual void showSettingsInForce() = 0;
};

}  // namespace tz
