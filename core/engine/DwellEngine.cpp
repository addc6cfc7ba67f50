#include "core/engine/DwellEngine.h"

#include <cstdlib>
#include <limits>

#include "core/engine/ClickInjection.h"
#include "core/engine/ScrollPad.h"

namespace tz {

namespace {

// The counters are 16-bit: an increment that would overflow is skipped, as a
// failing step is, and the tick goes on.
void increment(std::int16_t& counter) {
    if (counter < std::numeric_limits<std::int16_t>::max()) {
        ++counter;
    }
}

bool fits16(std::int32_t value) {
    return value >= std::numeric_limits<std::int16_t>::min() &&
           value <= std::numeric_limits<std::int16_t>::max();
}

}  // namespace

DwellEngine::DwellEngine(AppState& app, EngineHost& host, Pointer& pointer, ScreenMetrics& screen,
                         ClickInjector& injector)
    : app_(app), host_(host), pointer_(pointer), screen_(screen), injector_(injector) {}

void DwellEngine::tick() {
    const PointerPosition p = pointer_.position();
    pointerStill_ = sampled_ && p.x == previousSample_.x && p.y == previousSample_.y;
    previousSample_ = p;
    sampled_ = true;
    showOrHideBar(p.x, p.y);
    followPointerOnBar(p.x, p.y);
    activateBarButton();
    followScrollPad(p.x, p.y);
    dwellClick(p.x, p.y);
    rememberPosition(p);
}

void DwellEngine::rememberPosition(const PointerPosition& p) {
    if (fits16(p.x)) {
        state_.lastX = static_cast<std::int16_t>(p.x);
    }
    if (fits16(p.y)) {
        state_.lastY = static_cast<std::int16_t>(p.y);
    }
}

void DwellEngine::resetCounts() {
    state_.clickTicks = 0;
    state_.barTicks = 0;
}

void DwellEngine::releaseHeldButton() {
    if (state_.dragButtonDown) {
        injector_.send({MouseButton::Left, false});
        state_.dragButtonDown = false;
    }
}

std::optional<PendingClick> DwellEngine::pendingClick() const {
    const auto mode = app_.clickMode;
    if (!isRestingKind(mode) || state_.restClicked || state_.clickTicks <= 0 || pad_) {
        return std::nullopt;
    }
    return PendingClick{mode, mode == ClickMode::Drag && state_.dragButtonDown, state_.clickTicks,
                        app_.settings.delay};
}

void DwellEngine::cancelPendingClick() {
    // A hand clicks right after moving, often before the next tick has seen
    // the move: the press belongs to the rest where the pointer is now, so
    // the next tick must not take that move as the start of a new rest.
    rememberPosition(pointer_.position());
    // Both counts start afresh at the next move, as after a click.
    state_.restClicked = true;
}

bool DwellEngine::idleUntilPointerMoves() const {
    // Paused, a rest still counts where the host acts on it; a placed pad
    // scrolls with the pointer still.
    return pointerStill_ && !pad_ &&
           (state_.restClicked || (app_.clickMode == ClickMode::Pause && !restActsHere_));
}

void DwellEngine::showOrHideBar(std::int32_t x, std::int32_t y) {
    // The bar belongs to the monitor the pointer is on. A hidden bar follows
    // the pointer there, and touching the left edge calls it there; a shown
    // bar stays put under the pointer. Placing it afresh also takes in a
    // screen that changed size or a monitor added or removed.
    if (x == 0 || !host_.barGeometry().visible) {
        host_.placeBarOn(screen_.monitorAt(x, y));
    }
    const BarGeometry bar = host_.barGeometry();
    const double tppX = screen_.twipsPerPixelX();
    const double tppY = screen_.twipsPerPixelY();
    // The right edge is the whole desktop's, never a seam between monitors.
    const double desktopWidth = screen_.desktopWidthTwips();

    const double rightEdgeColumn = desktopWidth / tppX - 1;
    const double barTop = bar.top / tppY;
    const double barBottom = (bar.top + bar.height) / tppY;
    const double barWidth = bar.width / tppX;
    const double rightBarLeft = (desktopWidth - bar.width) / tppX;

    const bool show = (x >= rightEdgeColumn && y > barTop && y < barBottom) || x == 0;
    if (show) {
        if (x == 0) {
            host_.setBarLeft(0);
            host_.setBarVisible(true);
        } else if (app_.settings.rightEdge == 1) {
            host_.setBarLeft(desktopWidth - bar.width);
            host_.setBarVisible(true);
        }
        return;
    }
    const bool hide = (x > barWidth && x < rightBarLeft) || y < barTop || y > barBottom;
    if (hide) {
        host_.setBarVisible(false);
        state_.barTicks = 0;
    }
}

void DwellEngine::followPointerOnBar(std::int32_t x, std::int32_t y) {
    // The bar's own pointer events stop while another program grabs the
    // pointer (an open menu), and the user could not change the click kind to
    // use that menu. The tick's sample selects from the geometry instead, once
    // per change of what is under the pointer, as entering a button does.
    const BarGeometry bar = host_.barGeometry();
    int part = kOffBar;
    if (bar.visible) {
        // The pixel's top left corner, in twips from the bar's.
        const double px = x * screen_.twipsPerPixelX() - bar.left;
        const double py = y * screen_.twipsPerPixelY() - bar.top;
        if (px >= 0 && px < bar.width && py >= 0 && py < bar.height) {
            part = kOnBackground;
            const BarButtonPlaces buttons = host_.barButtonPlaces();
            // A later button lies over an earlier one where they overlap.
            for (int i = kBarButtonCount - 1; i >= 0; --i) {
                const BarButtonPlace& b = buttons[static_cast<std::size_t>(i)];
                if (b.visible && px >= b.left && px < b.left + b.width && py >= b.top &&
                    py < b.top + b.height) {
                    part = i;
                    break;
                }
            }
        }
    }
    if (part == barPartUnderPointer_) {
        return;
    }
    barPartUnderPointer_ = part;
    if (part == kOnBackground) {
        host_.pointerOnBarBackground();
    } else if (part >= 0) {
        host_.selectBarButton(static_cast<ClickMode>(part));
    }
}

void DwellEngine::activateBarButton() {
    if (app_.clickMode == ClickMode::Pause || state_.restClicked) {
        return;
    }
    increment(state_.barTicks);
    if (state_.previousMode != app_.clickMode) {
        state_.barTicks = 0;
    }
    state_.previousMode = app_.clickMode;
    if (state_.barTicks <= kActivationTicks) {
        return;
    }
    if (app_.settings.soundOn == 1) {
        host_.playClickSound();
    }
    state_.barTicks = 0;
    state_.restClicked = true;
    // Each test reads ClickMode afresh: a command sets it to 3, and so does
    // the load step of a window made just before the test.
    host_.makeExitWindow();
    if (!host_.isExitWindowVisible() && app_.clickMode == ClickMode::Exit) {
        host_.activateButton(ClickMode::Exit);
    }
    host_.makeOptionsWindow();
    if (!host_.isOptionsWindowVisible() && app_.clickMode == ClickMode::Options) {
        host_.activateButton(ClickMode::Options);
    }
    if (app_.clickMode == ClickMode::Help) {
        host_.activateButton(ClickMode::Help);
    }
}

void DwellEngine::followScrollPad(std::int32_t x, std::int32_t y) {
    if (!pad_) {
        return;
    }
    const ScrollPadZone zone = scrollPadZone(x - pad_->x, y - pad_->y, screen_.windowScale());
    if (!zone.inside || app_.clickMode != ClickMode::Scroll || host_.barGeometry().visible) {
        pad_.reset();
        return;
    }
    if (!zone.step) {
        scrolling_.reset();
        return;
    }
    // The first step comes as the pointer enters a side, then one every
    // 1/rate seconds.
    constexpr double kTickSeconds = 0.1;
    if (zone.step != scrolling_) {
        scrolling_ = zone.step;
        stepsOwed_ = 1;
    } else {
        stepsOwed_ += zone.rate * kTickSeconds;
    }
    for (; stepsOwed_ >= 1; stepsOwed_ -= 1) {
        injector_.sendWheelStep(*zone.step);
    }
}

void DwellEngine::dwellClick(std::int32_t x, std::int32_t y) {
    const std::int32_t margin = std::int32_t{app_.settings.tolerance} + 2;
    const bool moved = std::abs(std::int32_t{state_.lastX} - x) >= margin ||
                       std::abs(std::int32_t{state_.lastY} - y) >= margin;
    // Where the host acts on a rest no click is ever sent, whatever the kind.
    restActsHere_ = !moved && host_.restActsAt(x, y);
    if (restActsHere_) {
        restOnActingPlace(x, y);
        return;
    }
    // Movement (or the pause mode) ends the rest and its count: every click
    // needs a whole delay of resting ticks after the pointer last moved.
    if (moved || app_.clickMode == ClickMode::Pause) {
        state_.restClicked = false;
        state_.barTicks = 0;
        state_.clickTicks = 0;
        return;
    }
    // A rest on a placed pad never places another.
    if (pad_) {
        state_.clickTicks = 0;
        return;
    }
    increment(state_.clickTicks);
    if (state_.clickTicks < app_.settings.delay) {
        return;
    }
    state_.clickTicks = 0;
    if (state_.restClicked) {
        return;
    }
    switch (app_.clickMode) {
        case ClickMode::DoubleClick:
            LeftClick(injector_);
            LeftClick(injector_);
            break;
        case ClickMode::LeftClick:
            LeftClick(injector_);
            break;
        case ClickMode::Drag:
            if (state_.dragButtonDown) {
                releaseHeldButton();
            } else {
                injector_.send({MouseButton::Left, true});
                state_.dragButtonDown = true;
            }
            break;
        case ClickMode::RightClick:
            RightClick(injector_);
            break;
        case ClickMode::MiddleClick:
            MiddleClick(injector_);
            break;
        case ClickMode::Scroll:
            pad_ = PointerPosition{x, y};
            scrolling_.reset();
            break;
        default:
            return;  // exit, options, help and unknown modes never click
    }
    state_.restClicked = true;
    clickFeedback();
}

void DwellEngine::restOnActingPlace(std::int32_t x, std::int32_t y) {
    increment(state_.clickTicks);
    if (state_.clickTicks < app_.settings.delay) {
        return;
    }
    state_.clickTicks = 0;
    if (!state_.restClicked) {
        state_.restClicked = true;
        host_.actAt(x, y);
        clickFeedback();
    }
}

void DwellEngine::clickFeedback() {
    if (!host_.barGeometry().visible && app_.settings.soundOn == 1) {
        host_.playClickSound();
    }
}

}  // namespace tz
