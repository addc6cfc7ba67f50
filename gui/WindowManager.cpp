#include "gui/WindowManager.h"

#include <QGuiApplication>
#include <QScreen>
#include <utility>

#include "core/settings/SettingsFile.h"
#include "gui/AboutWindow.h"
#include "gui/ApplyTexts.h"
#include "gui/ClickBar.h"
#include "gui/ExitWindow.h"
#include "gui/ExtrasWindow.h"
#include "gui/OptionsWindow.h"
#include "gui/SettingsFinderWindow.h"
#include "gui/UnicodeMessageBox.h"
#include "gui/widgets/Twips.h"

namespace tz {

WindowManager::WindowManager(AppState& app, Platform& platform) : app_(app), platform_(platform) {}

WindowManager::~WindowManager() = default;

void WindowManager::makeOptionsWindow() {
    if (!optionsWindow_) {
        optionsWindow_ = std::make_unique<OptionsWindow>(app_, platform_, *this);
        QObject::connect(optionsWindow_.get(), &OptionsWindow::moreOptionsRequested,
                         [this] { openExtrasWindow(); });
        QObject::connect(optionsWindow_.get(), &OptionsWindow::findSettingsRequested,
                         [this] { openSettingsFinder(); });
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
    doomed->hide();
    doomed->deleteLater();
}

}  // namespace

void WindowManager::destroyOptionsWindow() {
    destroy(optionsWindow_);
    giveBackClickKind();
}

void WindowManager::destroyExitWindow() {
    destroy(exitWindow_);
    giveBackClickKind();
}

// Not the kind in force when the window showed: a rest on the exit or
// options button had put that button's own kind in force, which never clicks.
void WindowManager::giveBackClickKind() {
    const auto shows = [](const auto& window) { return window && window->isVisible(); };
    if (shows(optionsWindow_) || shows(exitWindow_) || shows(settingsFinder_) ||
        shows(aboutWindow_)) {
        app_.clickMode = ClickMode::LeftClick;
    } else if (bar_ != nullptr) {
        bar_->giveBackChosenKind();  // also wakes a dwell timer asleep until a move
    }
}

void WindowManager::closeBackTo(bool optionsWindowWaits) {
    if (optionsWindowWaits && optionsWindow_) {
        // Shown again, the options window is used by resting as before.
        app_.clickMode = ClickMode::LeftClick;
        optionsWindow_->show();
        optionsWindow_->raise();
        optionsWindow_->activateWindow();
    } else {
        giveBackClickKind();
    }
}

void WindowManager::openAboutWindow() {
    // Where the options window shows, without making it (making it forces the
    // left click); an about window open already stays where it is.
    ScreenMetrics& screen = platform_.screen;
    const QPoint centre =
        aboutWindow_ && aboutWindow_->isVisible()
            ? aboutWindow_->pos() + QPoint(aboutWindow_->width() / 2, aboutWindow_->height() / 2)
            : QPoint(twipsToPixelsX(screen, screen.widthTwips() / 2),
                     twipsToPixelsY(screen, screen.heightTwips() / 2));
    openAboutWindowAt(centre);
    // Closed by resting on it, whatever kind (or pause) the user chose.
    app_.clickMode = ClickMode::LeftClick;
}

void WindowManager::openAboutWindowForOptions() {
    aboutReturnsToOptions_ = true;
    openAboutWindowAt(madeOptionsWindow().geometry().center());
}

void WindowManager::openAboutWindowAt(const QPoint& centre) {
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
    closeBackTo(std::exchange(aboutReturnsToOptions_, false));
}

void WindowManager::openExtrasWindow() {
    if (!extrasWindow_) {
        extrasWindow_ =
            std::make_unique<ExtrasWindow>(platform_.screen, platform_.pressWatch.available());
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

void WindowManager::openSettingsFinder() {
    if (settingsFinder_) {
        return;
    }
    if (isOptionsWindowVisible()) {
        finderReturnsToOptions_ = true;
        optionsWindow_->hide();
    }
    settingsFinder_ = std::make_unique<SettingsFinderWindow>(app_, platform_, *this);
    settingsFinder_->retranslate(app_.texts);
    // The whole primary screen, also where no window manager makes it so.
    settingsFinder_->setGeometry(QGuiApplication::primaryScreen()->geometry());
    settingsFinder_->showFullScreen();
    settingsFinder_->raise();
    settingsFinder_->activateWindow();
    bar_->setTickSampler([this](PointerPosition at) { settingsFinder_->sample(at); });
    bar_->wakeTicking();
}

void WindowManager::closeSettingsFinder() {
    bar_->setTickSampler({});
    destroy(settingsFinder_);
    closeBackTo(std::exchange(finderReturnsToOptions_, false));
}

void WindowManager::saveSettings() {
    Settings toSave = app_.settings;
    toSave.startMode = static_cast<std::int16_t>(app_.chosenMode());
    writeSettingsFile(app_.settingsPath, toSave);
}

void WindowManager::showFoundSettings() {
    if (optionsWindow_) {
        optionsWindow_->showToleranceAndDelay();
    }
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
