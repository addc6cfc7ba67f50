#include "app/ClickFeedback.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

#include "core/engine/ScrollPad.h"
#include "gui/ClickBar.h"
#include "gui/WindowManager.h"

namespace tz {

namespace {

RingMark markFor(const PendingClick& click) {
    switch (click.kind) {
        case ClickMode::DoubleClick:
            return RingMark::Double;
        case ClickMode::Drag:
            return click.releasesDrag ? RingMark::DragRelease : RingMark::DragPress;
        case ClickMode::RightClick:
            return RingMark::Right;
        case ClickMode::MiddleClick:
            return RingMark::Middle;
        case ClickMode::Scroll:
            return RingMark::Scroll;
        default:
            return RingMark::Left;
    }
}

}  // namespace

ClickFeedback::ClickFeedback(AppState& app, ClickBar& bar, WindowManager& windows,
                             ScreenMetrics& screen, bool overlaysPassInput)
    : app_(app), bar_(bar), screen_(screen), overlaysPassInput_(overlaysPassInput) {
    QObject::connect(&tray_, &TrayIndicator::pauseToggled, [this] { bar_.togglePause(); });
    QObject::connect(&tray_, &TrayIndicator::clickModeChosen, [this](ClickMode mode) {
        bar_.selectButton(static_cast<std::int16_t>(mode));
        bar_.wakeTicking();
    });
    QObject::connect(&tray_, &TrayIndicator::optionsRequested,
                     [this] { bar_.runButtonCommand(ClickMode::Options); });
    QObject::connect(&tray_, &TrayIndicator::helpRequested,
                     [this] { bar_.runButtonCommand(ClickMode::Help); });
    QObject::connect(&tray_, &TrayIndicator::aboutRequested,
                     [&windows] { windows.openAboutWindow(); });
    QObject::connect(&tray_, &TrayIndicator::quitRequested,
                     [this] { bar_.runButtonCommand(ClickMode::Exit); });
    tray_.setPointerPlace([this] { return pointer(); });
    // The icon and its menu act on a rest, in every kind and while paused.
    bar_.setRestPlaces([this](PointerPosition at) { return tray_.restActsAt(inWindowPixels(at)); },
                       [this](PointerPosition at) { tray_.actAt(inWindowPixels(at)); });
}

QPoint ClickFeedback::pointer() const {
    return inWindowPixels(bar_.engine().lastSample());
}

QPoint ClickFeedback::inWindowPixels(PointerPosition at) const {
    // Qt keeps each monitor's top-left in screen pixels and scales only within
    // it: a menu placed on a second, scaled monitor must be given its place so.
    QPoint origin;
    double scale = screen_.windowScale();
    for (const QScreen* monitor : QGuiApplication::screens()) {
        const QRect area = monitor->geometry();
        const double ratio = monitor->devicePixelRatio();
        if (QRect(area.topLeft(), area.size() * ratio).contains(at.x, at.y)) {
            origin = area.topLeft();
            scale = ratio;
            break;
        }
    }
    return origin + QPoint(static_cast<int>(std::lround((at.x - origin.x()) / scale)),
                           static_cast<int>(std::lround((at.y - origin.y()) / scale)));
}

bool ClickFeedback::padStepsAside(PointerPosition centre) const {
    const PointerPosition at = bar_.engine().lastSample();
    return !overlaysPassInput_ &&
           scrollPadZone(at.x - centre.x, at.y - centre.y, screen_.windowScale()).step;
}

void ClickFeedback::afterTick() {
    const bool barShown = bar_.isVisible();
    const bool countdownOn = app_.extras.countdownOn;
    if (app_.clickMode != shownMode_) {
        // Pausing away from the bar (the pause key, the tray) shows for a moment where the user
        // looks.
        if (app_.clickMode == ClickMode::Pause && isRestingKind(shownMode_) && !barShown &&
            countdownOn) {
            ring_.showPausedSign(pointer());
        }
        shownMode_ = app_.clickMode;
        tray_.showClickMode(shownMode_);
    }
    if (const auto pad = bar_.engine().scrollPad(); pad && !padStepsAside(*pad)) {
        pad_.showAt(inWindowPixels(*pad));
    } else {
        pad_.hidePad();
    }
    const auto pending = bar_.engine().pendingClick();
    if (pending && countdownOn && !barShown) {
        ring_.showCountdown(pointer(), markFor(*pending), pending->ticks, pending->delay);
    } else if (!ring_.showingPausedSign()) {
        ring_.hideCountdown();
    }
}

void ClickFeedback::applyExtras() {
    ring_.setDiameter(app_.extras.countdownSize);
    if (!app_.extras.countdownOn) {
        ring_.hideCountdown();
    }
    tray_.setEnabled(app_.extras.trayOn);
    tray_.offerScroll(app_.extras.scrollButton);
}

void ClickFeedback::retranslate(const TextTable& texts) {
    tray_.retranslate(texts);
    // A screen reader finds the ring among the program's windows: it is
    // called by the words of its preference.
    ring_.setAccessibleName(QString::fromStdString(texts[TextId::CountdownCaption]));
    pad_.setAccessibleName(QString::fromStdString(texts[TextId::Scroll]));
}

}  // namespace tz
