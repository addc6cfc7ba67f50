#include "gui/ClickBar.h"

#include <QAccessible>
#include <QCursor>
#include <algorithm>
#include <filesystem>

#include "BuildConfig.h"
#include "core/HelpPage.h"
#include "core/i18n/LanguageFile.h"
#include "core/i18n/SystemLanguage.h"
#include "core/settings/SettingsFile.h"
#include "core/settings/SettingsLocation.h"
#include "gui/UnicodeMessageBox.h"
#include "gui/widgets/ClickableLabel.h"
#include "gui/widgets/Twips.h"
#include "gui/widgets/WindowLook.h"

namespace tz {

namespace {

// Design places of the ten buttons in twips: left, top, width, height.
struct DesignPlace {
    double left, top, width, height;
};
constexpr std::array<DesignPlace, ClickBar::kButtonCount> kButtonPlaces = {{
    {270, 0, 390, 480},   // 0 exit
    {0, 540, 675, 780},   // 1 no click
    {0, 1290, 675, 780},  // 2 double click
    {0, 2070, 675, 780},  // 3 left click
    {0, 2820, 675, 780},  // 4 drag
    {0, 3570, 675, 780},  // 5 right click
    {0, 4320, 675, 780},  // 6 middle click
    {0, 5130, 675, 420},  // 7 options
    {0, 5610, 675, 495},  // 8 help
    {0, 4320, 675, 750},  // 9 scroll, when shown: after the last click kind's button
}};
constexpr double kOptionsTop = 5130;
constexpr double kHelpTop = 5610;
constexpr double kInitialHeight = 6555;  // the window's height before it is fitted
constexpr double kBackgroundWidth = 690;
constexpr double kBottomMargin = 60;
constexpr double kSlideStep = 20;
constexpr int kSlideInterval = 10;
constexpr int kDwellInterval = 100;
// The buttons' objectNames, by index.
constexpr const char* kButtonNames[] = {"exitButton",        "pauseButton",   "doubleClickButton",
                                        "leftClickButton",   "dragButton",    "rightClickButton",
                                        "middleClickButton", "optionsButton", "helpButton",
                                        "scrollButton"};

}  // namespace

ClickBar::ClickBar(AppState& app, Platform& platform, SecondaryWindows& windows,
                   UpdatePrompt& updatePrompt, std::string versionUrl)
    // Unmanaged (override-redirect): no window manager puts a window of its
    // own above a focused full-screen one, and an unmanaged one is in no
    // taskbar, pager or task switcher. It is raised each time it shows.
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus | Qt::X11BypassWindowManagerHint),
      app_(app),
      platform_(platform),
      windows_(windows),
      updatePrompt_(updatePrompt),
      versionUrl_(std::move(versionUrl)),
      sounds_(platform.sound, platform.programFolder.folder()),
      engine_(app, *this, platform.pointer, platform.screen, platform.injector) {
    // Form_Initialize: the toolkit is ready once the application object exists.
    setWindowTitle(QString());
    setWindowIcon(programIcon());
    setAttribute(Qt::WA_ShowWithoutActivating);
    // The bar never takes the focus, and Qt shows tooltips only over the
    // active window unless told otherwise.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setDarkBackground(this);
    setMouseTracking(true);
    shown_.fill(-1);
    buttonVisible_.fill(true);
    height_ = kInitialHeight;
    width_ = kButtonPlaces[1].width;
    createControls();

    dwellTimer_.setTimerType(Qt::PreciseTimer);
    slideTimer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&dwellTimer_, &QTimer::timeout, this, [this] { onDwellTick(); });
    QObject::connect(&slideTimer_, &QTimer::timeout, this, [this] { onSlideTick(); });
    resumeTimer_.setSingleShot(true);
    resumeTimer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&resumeTimer_, &QTimer::timeout, this, [this] {
        dwellTimer_.start(kDwellInterval);
        onDwellTick();
    });
}

ClickBar::~ClickBar() {
    platform_.pressWatch.setOnPress(nullptr);
    platform_.pauseKey.release();
}

void ClickBar::createControls() {
    auto* backgroundPicture = new ClickableLabel(this);
    backgroundPicture->setScaledContents(true);
    const double scale = platform_.screen.windowScale();
    backgroundPicture->setPixmap(
        scaledPicture(QStringLiteral(":/images/bar/background.jpg"), scale));
    backgroundPicture->onMouseMove = [this] { pauseClicking(); };
    background_ = backgroundPicture;
    background_->setObjectName(QStringLiteral("background"));

    for (int i = 0; i < kButtonCount; ++i) {
        pictures_[i] = scaledPicture(QStringLiteral(":/images/bar/button%1.jpg").arg(i), scale);
        pictures_[i + kButtonCount] =
            scaledPicture(QStringLiteral(":/images/bar/button%1-lit.jpg").arg(i), scale);
    }

    const QCursor hand = handCursor();
    for (int i = 0; i < kButtonCount; ++i) {
        auto* button = new ClickableLabel(this);
        button->setCursor(hand);
        const auto index = static_cast<std::int16_t>(i);
        button->onMouseMove = [this, index] { selectButton(index); };
        button->onClick = [this, index] { runButtonCommand(static_cast<ClickMode>(index)); };
        // A screen reader presses a click kind to choose it, as moving onto
        // it does, and sees which one is in force; exit, options and help
        // run their commands.
        const auto mode = static_cast<ClickMode>(index);
        if (mode == ClickMode::Pause || isRestingKind(mode)) {
            button->accessibleRole = QAccessible::RadioButton;
            button->isChecked = [this, mode] { return app_.clickMode == mode; };
            button->onPress = [this, index] {
                selectButton(index);
                wakeTicking();
            };
        } else {
            button->accessibleRole = QAccessible::Button;
        }
        buttons_[i] = button;
        button->setObjectName(QLatin1String(kButtonNames[i]));
        buttonLeft_[i] = kButtonPlaces[i].left;
        buttonTop_[i] = kButtonPlaces[i].top;
        buttonWidth_[i] = kButtonPlaces[i].width;
        buttonHeight_[i] = kButtonPlaces[i].height;
    }
}

QWidget* ClickBar::button(int index) const {
    return buttons_[index];
}

QWidget* ClickBar::background() const {
    return background_;
}

std::string ClickBar::settingsPath() const {
    return app_.settingsPath;
}

bool ClickBar::load() {
    ScreenMetrics& screen = platform_.screen;

    // The settings from the file, or their defaults.
    app_.settings = readStartingSettings(settingsPath(), platform_.programFolder.folder());

    // On a first run the language follows the country of the user's locale.
    if (needsSystemLanguage(app_.settings.languageFile)) {
        app_.settings.languageFile = chooseLanguageFile(platform_.locale);
    }

    // The lower buttons follow the middle-click choice.
    layOutLowerButtons();

    // Centre vertically, with the height the window had before fitting.
    top_ = (screen.heightTwips() - height_) / 2;

    // Every button starts in its normal look and takes its picture's size.
    for (int i = 0; i < kButtonCount; ++i) {
        showPicture(i, i);
    }

    // Fit the bar to its buttons.
    fitHeightToButtons();
    width_ = buttonWidth_[1];

    // The texts of that language.
    LoadLanguageFile(app_.texts,
                     languageFilePath(platform_.programFolder.folder(), app_.settings.languageFile),
                     LoadMode::Startup);

    // The texts on every window; this makes the options and exit windows, hidden.
    windows_.applyTexts();

    // One instance at a time. The second one says so and ends
    // without writing anything.
    if (!platform_.instanceLock.acquire()) {
        quintptr owner = 0;
        UnicodeMessageBox(app_.texts[TextId::AlreadyRunning], 48, app_.texts[TextId::ProgramName],
                          "", owner);
        return false;
    }
    // This instance alone writes the settings now: what an earlier, killed
    // one left half-written can go.
    removeStaleTemporaries(std::filesystem::path(settingsPath()).parent_path().string());

    // A delay of 0 means the file gave no usable values.
    // The options window, made before this, must show and save these values.
    if (app_.settings.delay == 0) {
        app_.settings.tolerance = 2;
        app_.settings.delay = 5;
        windows_.showSettingsInForce();
    }

    // Nothing counted yet.
    engine_.resetCounts();

    // News of a newer release; answering Yes ends the program. The
    // dwell timer runs while the question is open, so that it can be answered
    // by resting the pointer on a button like everything else; it clicks and
    // nothing more, since the bar is not ready yet.
    answeringStartupQuestion_ = true;
    startTicking();
    const bool endNow = CheckForUpdate(
        platform_.http, versionUrl_, build::kHttpAgent, app_.texts,
        localVersionCode(build::kVersionMajor, build::kVersionMinor, build::kVersionRevision),
        updatePrompt_);
    stopTicking();
    answeringStartupQuestion_ = false;
    if (endNow) {
        return false;
    }

    // Restore the saved click mode as if the pointer entered its button; the
    // scroll kind without its button on the bar gives way to left click.
    const bool hiddenScroll =
        app_.settings.startMode == static_cast<std::int16_t>(ClickMode::Scroll) &&
        !app_.extras.scrollButton;
    selectButton(hiddenScroll ? static_cast<std::int16_t>(ClickMode::LeftClick)
                              : app_.settings.startMode);

    applyGeometry();

    // A button pressed by hand during a rest: the user clicked, the rest must not.
    platform_.pressWatch.setOnPress([this] {
        if (app_.extras.cancelOnPress) {
            engine_.cancelPendingClick();
        }
    });
    applyExtras();
    return true;
}

bool ClickBar::applyExtras() {
    if (buttonVisible_[static_cast<int>(ClickMode::Scroll)] != app_.extras.scrollButton) {
        layOutLowerButtons();
        fitHeightToButtons();
        // Scrolling without its button gives way to left click.
        if (!app_.extras.scrollButton && app_.chosenKind == ClickMode::Scroll) {
            app_.chosenKind = ClickMode::LeftClick;
            if (app_.clickMode == ClickMode::Scroll) {
                selectButton(static_cast<std::int16_t>(ClickMode::LeftClick));
            }
        }
    }
    return platform_.pauseKey.grab(app_.extras.pauseKey, [this] { togglePause(); });
}

void ClickBar::togglePause() {
    // From no click back to the kind chosen before it; from anything else (a
    // click kind, or a passing exit, options or help selection) to no click.
    selectButton(static_cast<std::int16_t>(app_.clickMode == ClickMode::Pause ? app_.chosenKind
                                                                              : ClickMode::Pause));
    // The dwell timer may sleep until the pointer moves.
    wakeTicking();
}

void ClickBar::startSlide() {
    left_ = 0;
    applyGeometry();
    show();
    raise();  // unmanaged: only raising puts it above the windows stacked since it was made
    slideTimer_.start(kSlideInterval);
}

void ClickBar::layOutLowerButtons() {
    constexpr int kScroll = static_cast<int>(ClickMode::Scroll);
    const bool middle = app_.settings.middleButton == 1;
    const bool scroll = app_.extras.scrollButton;
    buttonVisible_[6] = middle;
    buttonVisible_[kScroll] = scroll;
    // The scroll button follows the last click kind's button, and the buttons
    // below move down by its height.
    buttonTop_[kScroll] = kButtonPlaces[6].top + (middle ? buttonHeight_[6] : 0);
    const double shift = (middle ? 0 : -buttonHeight_[6]) + (scroll ? buttonHeight_[kScroll] : 0);
    buttonTop_[7] = kOptionsTop + shift;
    buttonTop_[8] = kHelpTop + shift;
    for (int i = 6; i < kButtonCount; ++i) {
        placeButton(i);
    }
}

void ClickBar::fitHeightToButtons() {
    backgroundHeight_ = buttonTop_[8] + buttonHeight_[8] + kBottomMargin;
    height_ = backgroundHeight_;
    applyGeometry();
}

void ClickBar::retranslate(const TextTable& t) {
    // A screen reader names each button by the words of its tooltip.
    const auto tip = [this](int index, const std::string& text) {
        buttons_[index]->setToolTip(literalToolTip(QString::fromStdString(text)));
        buttons_[index]->setAccessibleName(QString::fromStdString(text));
    };
    setAccessibleName(QString::fromStdString(t[TextId::ProgramName]));
    tip(0, t[TextId::ExitTitle]);
    tip(1, t[TextId::PauseTip]);
    tip(2, t[TextId::DoubleClickTip]);
    tip(3, t[TextId::LeftClickTip]);
    tip(4, t[TextId::DragTip]);
    tip(5, t[TextId::RightClickTip]);
    tip(6, t[TextId::MiddleClickTip]);
    tip(7, t[TextId::OptionsTitle] + "...");
    tip(8, t[TextId::HelpTip]);
    tip(9, t[TextId::Scroll]);
}

void ClickBar::showPicture(int button, int picture) {
    shown_[button] = picture;
    const QPixmap& pixmap = pictures_[picture];
    buttons_[button]->setPixmap(pixmap);
    if (!pixmap.isNull()) {
        // The picture's size in window pixels, whatever its resolution.
        ScreenMetrics& screen = platform_.screen;
        const QSizeF size = pixmap.deviceIndependentSize();
        buttonWidth_[button] = size.width() * screen.twipsPerPixelX() * screen.windowScale();
        buttonHeight_[button] = size.height() * screen.twipsPerPixelY() * screen.windowScale();
    }
    placeButton(button);
}

void ClickBar::placeButton(int index) {
    buttons_[index]->setGeometry(twipsToPixels(platform_.screen, buttonLeft_[index],
                                               buttonTop_[index], buttonWidth_[index],
                                               buttonHeight_[index]));
    buttons_[index]->setVisible(buttonVisible_[index]);
}

void ClickBar::applyGeometry() {
    ScreenMetrics& screen = platform_.screen;
    background_->setGeometry(twipsToPixels(screen, 0, 0, kBackgroundWidth, backgroundHeight_));
    background_->lower();
    const QRect r = twipsToPixels(screen, left_, top_, width_, height_);
    setFixedSize(r.size());
    move(r.topLeft());
}

void ClickBar::onSlideTick() {
    if (width_ + left_ < 0) {
        startTicking();
        slideTimer_.stop();
        hide();
        left_ = 0;
        applyGeometry();
        return;
    }
    left_ -= kSlideStep;
    applyGeometry();
}

void ClickBar::onDwellTick() {
    lastTickAt_ = tickClock_.elapsed();
    engine_.tick();
    announceKindInForce();
    if (afterTick_) {
        afterTick_();
    }
    if (tickSampler_) {
        // A copy: the sampler may end itself.
        const auto sampler = tickSampler_;
        sampler(engine_.lastSample());
        return;  // a still pointer is sampled too
    }
    // With nothing to do until the pointer moves, sleep instead of sampling it.
    if (engine_.idleUntilPointerMoves() && platform_.motionWatch.available()) {
        sleepUntilPointerMoves();
    }
}

void ClickBar::announceKindInForce() {
    if (app_.clickMode == announcedMode_) {
        return;
    }
    // The buttons of the kind left and of the kind now in force tell a screen
    // reader that their checked state changed.
    QAccessible::State checked;
    checked.checked = true;
    for (const ClickMode mode : {announcedMode_, app_.clickMode}) {
        const auto index = static_cast<int>(mode);
        if (index >= 0 && index < kButtonCount) {
            QAccessibleStateChangeEvent event(buttons_[index], checked);
            QAccessible::updateAccessibility(&event);
        }
    }
    announcedMode_ = app_.clickMode;
}

void ClickBar::sleepUntilPointerMoves() {
    dwellTimer_.stop();
    sleeping_ = true;
    platform_.motionWatch.notifyOnNextMotion([this] { wakeTicking(); });
    // A move during the tick itself (a click sound holds it) came before the
    // watch: one look at the pointer now catches it.
    wakeIfPointerMoved();
}

void ClickBar::wakeIfPointerMoved() {
    const PointerPosition now = platform_.pointer.position();
    const PointerPosition sampled = engine_.lastSample();
    if (now.x != sampled.x || now.y != sampled.y) {
        wakeTicking();
    }
}

void ClickBar::startTicking() {
    tickClock_.start();
    dwellTimer_.start(kDwellInterval);
}

void ClickBar::stopTicking() {
    dwellTimer_.stop();
    resumeTimer_.stop();
    platform_.motionWatch.cancel();
    sleeping_ = false;
}

void ClickBar::wakeTicking() {
    if (sleeping_) {
        sleeping_ = false;
        platform_.motionWatch.cancel();
        resumeOnTickGrid();
    }
}

void ClickBar::resumeOnTickGrid() {
    // The next tick comes where it would have come without the sleep.
    const qint64 sinceLastTick = tickClock_.elapsed() - lastTickAt_;
    resumeTimer_.start(static_cast<int>(kDwellInterval - sinceLastTick % kDwellInterval));
}

bool ClickBar::lightButton(int index) {
    bool newlyLit = false;
    for (int i = 0; i < kButtonCount; ++i) {
        if (i == index) {
            if (shown_[i] != i + kButtonCount) {
                showPicture(i, i + kButtonCount);
                newlyLit = true;
            }
        } else if (shown_[i] != i) {
            showPicture(i, i);
        }
    }
    return newlyLit;
}

void ClickBar::giveBackChosenKind() {
    const ClickMode mode = app_.chosenMode();
    lightButton(static_cast<int>(mode));
    app_.clickMode = mode;
    wakeTicking();
}

void ClickBar::selectButton(std::int16_t index) {
    if (lightButton(index) && app_.settings.soundOn == 1) {
        sounds_.playHover();
    }
    // The user's choice, whatever a window forces meanwhile.
    const auto mode = static_cast<ClickMode>(index);
    if (mode == ClickMode::Pause) {
        app_.chosenPause = true;
    } else if (isRestingKind(mode)) {
        app_.chosenKind = mode;
        app_.chosenPause = false;
    }
    // Both windows exist from here on: made now if they were closed, the
    // options window first, each load step forcing ClickMode to 3.
    windows_.makeOptionsWindow();
    windows_.makeExitWindow();
    const bool optionsVisible = windows_.isOptionsWindowVisible();
    const bool exitVisible = windows_.isExitWindowVisible();
    if (!optionsVisible && !exitVisible) {
        app_.clickMode = static_cast<ClickMode>(index);
    }
    // A click kind is saved at once as the one the next start restores; the
    // settings in force keep the one this start restored.
    if (mode == ClickMode::Pause || isRestingKind(mode)) {
        Settings toSave = app_.settings;
        toSave.startMode = index;
        writeSettingsFile(settingsPath(), toSave);
    }
}

void ClickBar::pauseClicking() {
    app_.clickMode = ClickMode::Pause;
}

void ClickBar::runButtonCommand(ClickMode button) {
    switch (button) {
        case ClickMode::Exit:
            app_.clickMode = ClickMode::LeftClick;
            engine_.resetClickCount();
            windows_.showExitWindow();
            break;
        case ClickMode::Options:
            app_.clickMode = ClickMode::LeftClick;
            engine_.resetClickCount();
            windows_.showOptionsWindow();
            break;
        case ClickMode::Help:
            app_.clickMode = ClickMode::LeftClick;
            engine_.resetClickCount();
            platform_.shell.open(platform_.programFolder.folder() +
                                 helpPageName(app_.settings.languageFile));
            break;
        default:
            break;  // the click-kind buttons act on pointer movement alone
    }
}

BarGeometry ClickBar::barGeometry() {
    return {left_, top_, width_, height_, isVisible()};
}

void ClickBar::setBarLeft(double leftTwips) {
    if (answeringStartupQuestion_) {
        return;
    }
    if (left_ != leftTwips) {
        left_ = leftTwips;
        applyGeometry();
    }
}

void ClickBar::placeBarOn(const ScreenArea& monitor) {
    // Centred as at start-up, with the height from before fitting; on a
    // monitor too low for that the bar starts at its top, exit button first.
    const double top = std::max(monitor.top, monitor.top + (monitor.height - kInitialHeight) / 2);
    if (top != top_) {
        top_ = top;
        applyGeometry();
    }
}

void ClickBar::setBarVisible(bool visible) {
    if (answeringStartupQuestion_) {
        return;
    }
    if (visible != isVisible()) {
        if (visible) {
            applyGeometry();  // a hidden window may not have taken its last move yet
            show();
            raise();  // unmanaged, it stays below what was stacked since it last showed
        } else {
            hide();
        }
    }
}

void ClickBar::makeExitWindow() {
    windows_.makeExitWindow();
}

void ClickBar::makeOptionsWindow() {
    windows_.makeOptionsWindow();
}

bool ClickBar::isExitWindowVisible() {
    return windows_.isExitWindowVisible();
}

bool ClickBar::isOptionsWindowVisible() {
    return windows_.isOptionsWindowVisible();
}

void ClickBar::activateButton(ClickMode button) {
    if (answeringStartupQuestion_) {
        return;
    }
    runButtonCommand(button);
}

void ClickBar::playClickSound() {
    sounds_.playClick();
}

BarButtonPlaces ClickBar::barButtonPlaces() {
    BarButtonPlaces places;
    for (int i = 0; i < kButtonCount; ++i) {
        places[i] = {buttonLeft_[i], buttonTop_[i], buttonWidth_[i], buttonHeight_[i],
                     buttonVisible_[i]};
    }
    return places;
}

void ClickBar::selectBarButton(ClickMode button) {
    selectButton(static_cast<std::int16_t>(button));
}

void ClickBar::pointerOnBarBackground() {
    pauseClicking();
}

bool ClickBar::restActsAt(std::int32_t x, std::int32_t y) {
    return restActsAt_ && restActsAt_({x, y});
}

void ClickBar::actAt(std::int32_t x, std::int32_t y) {
    if (actAt_) {
        actAt_({x, y});
    }
}

}  // namespace tz
