#pragma once
#include <QPointer>
#include <functional>
#include <memory>

#include "core/AppState.h"
#include "core/update/UpdateCheck.h"
#include "gui/SecondaryWindows.h"
#include "platform/Platform.h"

namespace tz {

class ClickBar;
class OptionsWindow;
class ExitWindow;
class AboutWindow;
class ExtrasWindow;
class SettingsFinderWindow;

// Owns the options, exit and about windows. The options and exit windows are
// made only by makeOptionsWindow and makeExitWindow (and the operations that
// say they make them); their load step runs then, while the window is already
// reachable here, so texts applied from inside that load step reach it.
class WindowManager : public SecondaryWindows, public UpdatePrompt {
  public:
    WindowManager(AppState& app, Platform& platform);
    ~WindowManager() override;

    void setBar(ClickBar* bar) { bar_ = bar; }
    ClickBar& bar() { return *bar_; }
    AppState& app() { return app_; }
    Platform& platform() { return platform_; }

    // The windows, or null while they do not exist.
    OptionsWindow* optionsWindow() { return optionsWindow_.get(); }
    ExitWindow* exitWindow() { return exitWindow_.get(); }
    // Destroys the window, and the next make creates it anew. The click kind
    // the user chose comes back (lit on the bar) unless the other of the two
    // windows still shows, which keeps the left click.
    void destroyOptionsWindow();
    void destroyExitWindow();

    // The about window from the tray: in the middle of the screen, over
    // whatever the user was doing, to which closing it goes back.
    void openAboutWindow();
    // The about window from the options window, in its place while the
    // options window hides; closing it brings the options window back.
    void openAboutWindowForOptions();
    void closeAboutWindow();
    AboutWindow* aboutWindow() { return aboutWindow_.get(); }

    // The "More options" window, from the options window's link. Its OK saves
    // the preferences and calls `onExtrasChanged`.
    void openExtrasWindow();
    ExtrasWindow* extrasWindow() { return extrasWindow_.get(); }
    void setOnExtrasChanged(std::function<void()> changed) {
        onExtrasChanged_ = std::move(changed);
    }
    // "Find my settings", from the options window's link (which it takes the
    // place of until it closes) or the command line. While it samples, each
    // dwell tick gives it the pointer and the timer never sleeps.
    void openSettingsFinder();
    void closeSettingsFinder();
    SettingsFinderWindow* settingsFinder() { return settingsFinder_.get(); }
    // The options window, if it exists, shows the tolerance and delay in force
    // (its other controls keep what the user set in it).
    void showFoundSettings();
    // Writes the settings in force, with the kind the user chose as the one
    // the next start restores (never the exit, options or help button a
    // window was opened from): what the options window's OK and the found
    // settings' Apply save.
    void saveSettings();
    // Called with the texts each time they are put on the windows.
    void setOnTextsApplied(std::function<void(const TextTable&)> applied) {
        onTextsApplied_ = std::move(applied);
    }

    // SecondaryWindows
    void makeOptionsWindow() override;
    void makeExitWindow() override;
    bool isOptionsWindowVisible() override;
    bool isExitWindowVisible() override;
    void showOptionsWindow() override;
    void showExitWindow() override;
    void applyTexts() override;
    void showSettingsInForce() override;

    // UpdatePrompt: the question about a newer release, and the product page.
    int ask(const std::string& text, std::uint32_t style, const std::string& title) override;
    void openProductPage() override;

  private:
    OptionsWindow& madeOptionsWindow();
    ExitWindow& madeExitWindow();
    void giveBackClickKind();
    // A window closing: back to the options window it was opened from in that
    // window's place, or else the chosen kind given back.
    void closeBackTo(bool optionsWindowWaits);
    void openAboutWindowAt(const QPoint& centre);

    AppState& app_;
    Platform& platform_;
    ClickBar* bar_ = nullptr;
    std::unique_ptr<OptionsWindow> optionsWindow_;
    std::unique_ptr<ExitWindow> exitWindow_;
    std::unique_ptr<AboutWindow> aboutWindow_;
    std::unique_ptr<ExtrasWindow> extrasWindow_;
    std::unique_ptr<SettingsFinderWindow> settingsFinder_;
    // Whether closing "Find my settings" brings the options window back.
    bool finderReturnsToOptions_ = false;
    // Whether closing the about window brings the options window back.
    bool aboutReturnsToOptions_ = false;
    std::function<void()> onExtrasChanged_;
    std::function<void(const TextTable&)> onTextsApplied_;
};

}  // namespace tz
