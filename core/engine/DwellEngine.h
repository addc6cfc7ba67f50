#pragma once
#include <array>
#include <cstdint>
#include <optional>

#include "core/AppState.h"
#include "platform/ClickInjector.h"
#include "platform/Pointer.h"
#include "platform/ScreenMetrics.h"

namespace tz {

// The bar window as the engine sees it: geometry in twips and visibility.
struct BarGeometry {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    bool visible = false;
};

// The bar's buttons, one per click mode from Exit (0) to Scroll (9).
inline constexpr int kBarButtonCount = 10;

// A bar button's place in twips from the bar's top left corner, and whether it shows.
using BarButtonPlace = BarGeometry;
using BarButtonPlaces = std::array<BarButtonPlace, kBarButtonCount>;

// What the engine needs from the windows. Making the exit or options window
// runs its load step, which may change ClickMode, so the engine makes each at
// the moment it reads that window's visibility.
class EngineHost {
  public:
    virtual ~EngineHost() = default;
    virtual BarGeometry barGeometry() = 0;
    virtual void setBarLeft(double leftTwips) = 0;
    // Gives the bar its vertical place on that monitor (twips).
    virtual void placeBarOn(const ScreenArea& monitor) = 0;
    virtual void setBarVisible(bool visible) = 0;
    // Make the window if it does not exist yet.
    virtual void makeExitWindow() = 0;
    virtual void makeOptionsWindow() = 0;
    virtual bool isExitWindowVisible() = 0;
    virtual bool isOptionsWindowVisible() = 0;
    // Runs the bar's command of button 0 (exit), 7 (options) or 8 (help).
    virtual void activateButton(ClickMode button) = 0;
    // The click sound.
    virtual void playClickSound() = 0;
    // The places of the bar's buttons, index = the click mode each selects.
    virtual BarButtonPlaces barButtonPlaces() = 0;
    // The pointer came onto a bar button, or onto the bar's background between
    // them: what moving there does (lighting and selecting, or pausing).
    virtual void selectBarButton(ClickMode button) = 0;
    virtual void pointerOnBarBackground() = 0;
    // Places away from the bar where a rest acts instead of clicking, in
    // every click kind, pause included (the tray icon and its open menu).
    virtual bool restActsAt(std::int32_t /*x*/, std::int32_t /*y*/) { return false; }
    // A rest where restActsAt holds has lasted the delay.
    virtual void actAt(std::int32_t /*x*/, std::int32_t /*y*/) {}
};

// The engine's own variables; they live for the whole run and start at 0.
struct DwellState {
    std::int16_t lastX = 0;
    std::int16_t lastY = 0;
    ClickMode previousMode = ClickMode::Exit;
    // The current rest has had its click (or its bar button activation).
    bool restClicked = false;
    // A drag's left button is down, waiting for the rest that releases it.
    bool dragButtonDown = false;
    // Resting ticks towards the dwell click, and ticks on one bar selection
    // towards its activation.
    std::int16_t clickTicks = 0;
    std::int16_t barTicks = 0;
};

// The click the current rest counts towards, for the countdown at the pointer.
struct PendingClick {
    ClickMode kind = ClickMode::LeftClick;
    // A drag's second rest, which lets go of the held button.
    bool releasesDrag = false;
    // Resting ticks so far, out of the `delay` the click needs.
    int ticks = 0;
    int delay = 0;
};

// Samples the pointer once per tick, shows or hides the bar, activates bar
// buttons after 15 resting ticks and injects the dwell click.
class DwellEngine {
  public:
    static constexpr int kActivationTicks = 14;  // activation when the count exceeds this

    DwellEngine(AppState& app, EngineHost& host, Pointer& pointer, ScreenMetrics& screen,
                ClickInjector& injector);

    // One run of the 100 ms timer.
    void tick();

    const DwellState& state() const { return state_; }
    // Both counts start afresh (start-up, the options window's OK and Cancel).
    void resetCounts();
    // Lets go of a drag's held button, as the program ends: the X server keeps
    // an injected press after its client is gone, and the user cannot release it.
    void releaseHeldButton();
    // The count towards the dwell click starts afresh (a bar command).
    void resetClickCount() { state_.clickTicks = 0; }

    // The click the rest in progress will make, once it has rested a tick;
    // none while moving, after the click, on the scroll pad, and in modes that
    // never click. In the scroll kind the rest places the pad.
    std::optional<PendingClick> pendingClick() const;
    // The centre of the scroll pad in screen pixels while one is placed.
    std::optional<PointerPosition> scrollPad() const { return pad_; }
    // A button pressed by hand: the rest in progress clicks no more, as if it
    // had clicked, so hand and dwell never click twice at one place.
    void cancelPendingClick();

    // Whether ticks with the pointer where it is now can change nothing: the
    // last tick found it exactly where the one before did, and its rest has
    // clicked (or clicking is paused). Only a move can start the next rest,
    // so the timer may sleep until the pointer moves.
    bool idleUntilPointerMoves() const;
    // Where the last tick found the pointer.
    PointerPosition lastSample() const { return previousSample_; }

  private:
    // Keeps the position as the one the next tick measures a move from
    // (each coordinate only when it fits the 16-bit state).
    void rememberPosition(const PointerPosition& p);
    void showOrHideBar(std::int32_t x, std::int32_t y);
    void followPointerOnBar(std::int32_t x, std::int32_t y);
    void activateBarButton();
    // While a pad is placed: wheel steps for where the pointer is on it, or
    // its removal when the pointer left it or scrolling is no longer in force.
    void followScrollPad(std::int32_t x, std::int32_t y);
    void dwellClick(std::int32_t x, std::int32_t y);
    // A rest where the host acts instead of clicking.
    void restOnActingPlace(std::int32_t x, std::int32_t y);
    void clickFeedback();

    AppState& app_;
    EngineHost& host_;
    Pointer& pointer_;
    ScreenMetrics& screen_;
    ClickInjector& injector_;
    DwellState state_;
    PointerPosition previousSample_;
    bool pointerStill_ = false;  // the last two samples are the same position
    bool restActsHere_ = false;  // the last tick rested where the host acts
    bool sampled_ = false;
    // What of the shown bar the last tick found under the pointer: a button's
    // index, kOnBackground, or kOffBar (also while the bar is hidden).
    static constexpr int kOnBackground = -1;
    static constexpr int kOffBar = -2;
    int barPartUnderPointer_ = kOffBar;
    std::optional<PointerPosition> pad_;
    // The way the pad scrolls now, and the part of a wheel step it owes.
    std::optional<WheelStep> scrolling_;
    double stepsOwed_ = 0;
};

}  // namespace tz
