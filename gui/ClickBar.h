#pragma once
#include <QElapsedTimer>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>

#include "core/AppState.h"
#include "core/FeedbackSounds.h"
#include "core/engine/DwellEngine.h"
#include "core/update/UpdateCheck.h"
#include "gui/SecondaryWindows.h"
#include "platform/Platform.h"

namespace tz {

class ClickableLabel;

// The bar: the program's main window, a narrow strip of picture buttons
// above every other window, full-screen ones included. It runs the start-up sequence, slides itself
// out of sight, and then drives the dwell engine from its 100 ms timer.
class ClickBar : public QWidget, public EngineHost {
  public:
    static constexpr int kButtonCount = kBarButtonCount;

    // `versionUrl` is where the update check looks for the newest release.
    ClickBar(AppState& app, Platform& platform, SecondaryWindows& windows,
             UpdatePrompt& updatePrompt, std::string versionUrl);
    ~ClickBar() override;

    // The start-up sequence. Returns false when the program must end instead
    // of showing the bar.
    bool load();
    // Shows the bar at its start place and starts the slide.
    void startSlide();

    void onDwellTick();
    // Called after every dwell tick, for what follows the engine's state.
    void setAfterTick(std::function<void()> afterTick) { afterTick_ = std::move(afterTick); }
    // While set, gets the pointer of every dwell tick, and the timer never
    // sleeps ("Find my settings" samples a still pointer too); {} ends it.
    void setTickSampler(std::function<void(PointerPosition)> sampler) {
        tickSampler_ = std::move(sampler);
    }
    // Where a rest acts instead of clicking away from the bar (the tray icon
    // and its menu), and what it does there; the pointer in screen pixels.
    void setRestPlaces(std::function<bool(PointerPosition)> actsAt,
                       std::function<void(PointerPosition)> act) {
        restActsAt_ = std::move(actsAt);
        actAt_ = std::move(act);
    }
    void onSlideTick();
    // Ticks again at once (on the tick grid) if the dwell timer sleeps until
    // the pointer moves: for changes of state that come without a move.
    void wakeTicking();

    void selectButton(std::int16_t index);
    void runButtonCommand(ClickMode button);
    void pauseClicking();
    // The pause key: from a click kind to no click, and from no click back to
    // the click kind chosen before (left click at first), as resting on their
    // buttons does.
    void togglePause();
    // Lights the button of the kind the user chose and puts that kind in
    // force, without a sound: a window that forced the left click has closed.
    void giveBackChosenKind();
    // Takes the pause key of the extras settings in force, in place of the one
    // before, and shows or hides the scroll button. False when that key is
    // unknown or another program holds it.
    bool applyExtras();

    // Shows or hides button 6 for middleButton and the scroll button for the
    // extras' scrollButton, and moves buttons 7 and 8 to match.
    void layOutLowerButtons();
    // Stretches the background to the buttons and gives the bar its height.
    void fitHeightToButtons();
    // The bar buttons' tooltips from the text table.
    void retranslate(const TextTable& texts);

    // EngineHost
    BarGeometry barGeometry() override;
    void setBarLeft(double leftTwips) override;
    void placeBarOn(const ScreenArea& monitor) override;
    void setBarVisible(bool visible) override;
    void makeExitWindow() override;
    void makeOptionsWindow() override;
    bool isExitWindowVisible() override;
    bool isOptionsWindowVisible() override;
    void activateButton(ClickMode button) override;
    void playClickSound() override;
    BarButtonPlaces barButtonPlaces() override;
    void selectBarButton(ClickMode button) override;
    void pointerOnBarBackground() override;
    bool restActsAt(std::int32_t x, std::int32_t y) override;
    void actAt(std::int32_t x, std::int32_t y) override;

    // Read-only views for tests and the windows that need them.
    bool isButtonLit(int index) const { return shown_[index] == index + kButtonCount; }
    bool isButtonVisible(int index) const { return buttonVisible_[index]; }
    double buttonTopTwips(int index) const { return buttonTop_[index]; }
    double buttonHeightTwips(int index) const { return buttonHeight_[index]; }
    double heightTwips() const { return height_; }
    double widthTwips() const { return width_; }
    double leftTwips() const { return left_; }
    double topTwips() const { return top_; }
    QWidget* button(int index) const;
    QWidget* background() const;
    QTimer& dwellTimer() { return dwellTimer_; }
    QTimer& slideTimer() { return slideTimer_; }
    DwellEngine& engine() { return engine_; }

  private:
    void createControls();
    void showPicture(int button, int picture);
    // Lights button `index` alone (none for a number that names no button);
    // true when it was not lit before.
    bool lightButton(int index);
    void applyGeometry();
    void placeButton(int index);
    std::string settingsPath() const;
    void startTicking();
    void stopTicking();
    // Tells a screen reader which bar button's click kind is now in force.
    void announceKindInForce();
    void sleepUntilPointerMoves();
    void wakeIfPointerMoved();
    void resumeOnTickGrid();

    AppState& app_;
    Platform& platform_;
    SecondaryWindows& windows_;
    UpdatePrompt& updatePrompt_;
    std::string versionUrl_;
    FeedbackSounds sounds_;
    DwellEngine engine_;

    // Window geometry in twips.
    double left_ = 0;
    double top_ = 0;
    double width_ = 0;
    double height_ = 0;

    std::array<ClickableLabel*, kButtonCount> buttons_{};
    ClickableLabel* background_ = nullptr;
    std::array<QPixmap, 2 * kButtonCount> pictures_;
    // Which pictures_ picture each button shows (-1: none yet).
    std::array<int, kButtonCount> shown_{};
    std::array<double, kButtonCount> buttonLeft_{};
    std::array<double, kButtonCount> buttonTop_{};
    std::array<double, kButtonCount> buttonWidth_{};
    std::array<double, kButtonCount> buttonHeight_{};
    std::array<bool, kButtonCount> buttonVisible_{};
    double backgroundHeight_ = 0;
    // While the start-up update question is open the dwell timer only clicks:
    // the bar stays as it is and runs no command.
    bool answeringStartupQuestion_ = false;

    QTimer dwellTimer_;
    QTimer slideTimer_;
    // Sleeping dwell timer: the tick grid's clock, the last tick on it, and
    // the single shot that brings the next tick back onto it.
    QElapsedTimer tickClock_;
    qint64 lastTickAt_ = 0;
    QTimer resumeTimer_;
    bool sleeping_ = false;
    std::function<void()> afterTick_;
    std::function<void(PointerPosition)> tickSampler_;
    std::function<bool(PointerPosition)> restActsAt_;
    std::function<void(PointerPosition)> actAt_;
    // The click kind a screen reader was last told is in force.
    ClickMode announcedMode_ = ClickMode::Exit;
};

}  // namespace tz
