#pragma once
#include <QWidget>
#include <optional>
#include <vector>

#include "core/AppState.h"
#include "core/calibration/SettingsFinder.h"
#include "platform/Platform.h"

class QLabel;
class QPushButton;

namespace tz {

class WindowManager;

// "Find my settings": a full-screen window that shows five large targets one
// after another (the centre, then near each corner) and takes the pointer
// from the dwell engine's own tick (`sample`) while the user holds still on
// each and travels to the next. It then suggests a tolerance and a delay
// beside the values in force, with Apply and Cancel. Used by resting: the
// left click is in force while it shows; the targets are drawn, not
// controls, so a click on them does nothing.
class SettingsFinderWindow : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kTargetCount = 5;
    // Ticks held on a target before the next one shows (three seconds).
    static constexpr int kHoldTicks = 30;
    // Ticks one target waits for its holds before the sampling ends (the
    // user gave up, or never held still there).
    static constexpr int kTargetTicks = 300;

    SettingsFinderWindow(AppState& app, Platform& platform, WindowManager& windows);

    void retranslate(const TextTable& texts);
    // The pointer at one dwell tick, in screen pixels.
    void sample(PointerPosition at);
    bool sampling() const { return sampling_; }
    // The target the user is asked to hold on (kTargetCount once done).
    int currentTarget() const { return target_; }
    // Target `index`'s centre, in the window's pixels, and its radius.
    QPointF targetCentre(int index) const;
    double targetRadius() const;
    const std::optional<FoundSettings>& found() const { return found_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    bool onTarget(const QPointF& at, int index) const;
    void finishSampling();
    void showSuggestion();
    void layOut();
    void apply();
    void cancel();

    AppState& app_;
    Platform& platform_;
    WindowManager& windows_;
    std::vector<FinderSample> samples_;
    std::optional<FoundSettings> found_;
    bool sampling_ = true;
    int target_ = 0;
    int heldTicks_ = 0;
    int targetTicks_ = 0;

    QLabel* instruction_ = nullptr;
    QLabel* progress_ = nullptr;
    QLabel* toleranceLine_ = nullptr;
    QLabel* toleranceEffect_ = nullptr;
    QLabel* delayLine_ = nullptr;
    QLabel* delayEffect_ = nullptr;
    QLabel* tooFew_ = nullptr;
    QPushButton* applyButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

}  // namespace tz
