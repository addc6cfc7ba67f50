#include "gui/WindowManager.h"

#include "gui/AboutWindow.h"
#include "gui/ApplyTexts.h"
#include "gui/ClickBar.h"
#include "gui/ExitWindow.h"
#include "gui/ExtrasWindow.h"
#include "gui/OptionsWindow.h"
#include "gui/UnicodeMessageBox.h"

namespace tz {

WindowManager::WindowManager(AppState& app, Platform& platform) : app_(app), platform_(platform) {}

WindowManager::~WindowManager() = default;

void WindowManager::makeOptionsWindow() {
    if (!optionsWindow_) {
        optionsWindow_ = std::make_unique<OptionsWindow>(app_, platform_, *this);
        QObject::connect(optionsWindow_.get(), &OptionsWindow::moreOptionsRequested,
                         [this] { openExtrasWindow(); });
        optionsWindow_->load();
    }
}

void WindowManager::makeExitWindow() {
    if (!exitWindow_) {
        exitWindow_ = std::make_unique<ExitWindow>(app_, platform_, *this);
        exitWindow_->load();
    }
}

OptionsWindow& WindowManager::madeOptionsWindow() {
    makeOptionsWindow();
    return *optionsWindow_;
}

ExitWindow& WindowManager::madeExitWindow() {
    makeExitWindow();
    return *exitWindow_;
}

namespace {

// The window may be destroyed from inside one of its own handlers, so the
// object itself goes at the next turn of the event loop.
template <typename Window>
void destroy(std::unique_ptr<Window>& window) {
    if (!window) {
        return;
    }
    Window* doomed = window.release();
    doomed->unload();
    doomed->hide();
    doomed->deleteLater();
}

}  // namespace

// Closing a window gives back a click kind without any pointer move, so a
// dwell timer that sleeps until one must look again.
void WindowManager::destroyOptionsWindow() {
    destroy(optionsWindow_);
    if (bar_ != nullptr) {
        bar_->wakeTicking();
    }
}

void WindowManager::destroyExitWindow() {
    destroy(exitWindow_);
    if (bar_ != nullptr) {
        bar_->wakeTicking();
    }
}

void WindowManager::openAboutWindow() {
    const QPoint centre = madeOptionsWindow().geometry().center();
    if (!aboutWindow_) {
        aboutWindow_ = std::make_unique<AboutWindow>(app_, platform_, *this);
        aboutWindow_->load();
    }
    aboutWindow_->open(centre);
}

void WindowManager::closeAboutWindow() {
    if (aboutWindow_) {
        AboutWindow* doomed = aboutWindow_.release();
        doomed->hide();
        doomed->deleteLater();
    }
    OptionsWindow& options = madeOptionsWindow();
    options.show();
    options.raise();
}

void WindowManager::openExtrasWindow() {
    if (!extrasWindow_) {
        extrasWindow_ = std::make_unique<ExtrasWindow>(platform_.screen);
        QObject::connect(extrasWindow_.get(), &ExtrasWindow::accepted,
                         [this](const ExtrasSettings& extras) {
                             app_.extras = extras;
                             writeExtrasFile(app_.extrasPath, extras);
                             if (onExtrasChanged_) {
                                 onExtrasChanged_();
                             }
                         });
    }
    extrasWindow_->retranslate(app_.texts);
    extrasWindow_->load(app_.extras);
    extrasWindow_->show();
    extrasWindow_->raise();
    extrasWindow_->activateWindow();
}

bool WindowManager::isOptionsWindowVisible() {
    return optionsWindow_ && optionsWindow_->isVisible();
}

bool WindowManager::isExitWindowVisible() {
    return exitWindow_ && exitWindow_->isVisible();
}

void WindowManager::showOptionsWindow() {
    OptionsWindow& window = madeOptionsWindow();
    window.show();
    window.raise();
}

void WindowManager::showExitWindow() {
    makeExitWindow();
    ApplyTexts(*this);
    ExitWindow& window = madeExitWindow();
    window.show();
    window.raise();
    window.activateWindow();
}

void WindowManager::applyTexts() {
    ApplyTexts(*this);
    if (onTextsApplied_) {
        onTextsApplied_(app_.texts);
    }
}

void WindowManager::showSettingsInForce() {
    // Never creates the window: when it is created matters for the click modes.
    if (optionsWindow_) {
        optionsWindow_->showSettings();
    }
}

int WindowManager::ask(const std::string& text, std::uint32_t style, const std::string& title) {
    quintptr owner = 0;
    return UnicodeMessageBox(text, style, title, "", owner);
}

void WindowManager::openProductPage() {
    madeOptionsWindow().openProductPage();
}

}  // namespace tz
