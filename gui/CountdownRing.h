#pragma once
#include <QPoint>
#include <QTimer>
#include <QWidget>

namespace tz {

// The kind of click a rest is counting towards, as the ring marks it.
enum class RingMark { Left, Double, Right, Middle, DragPress, DragRelease, Paused, Scroll };

// A small round window beside the pointer that fills as the current rest
// counts towards its click, with the pending kind marked in its middle. It
// never takes input or focus, stays out of taskbars and window-manager
// decisions, and is shaped round by a mask, so it needs no compositor.
class CountdownRing : public QWidget {
  public:
    // The colour of the counted part, for checks of a rendered ring.
    static constexpr QRgb kFillColour = 0xffffc800;

    CountdownRing();

    // The ring's size in window pixels (before the desktop's scaling).
    void setDiameter(int logicalPixels);
    // Shows the ring beside `pointerGlobal` filled to ticks / delay (clamped to
    // 0..1). Called on every dwell tick: with nothing changed it neither moves
    // nor repaints.
    void showCountdown(QPoint pointerGlobal, RingMark mark, int ticks, int delay);
    // Shows the paused mark beside the pointer for one second.
    void showPausedSign(QPoint pointerGlobal);
    void hideCountdown();
    // The paused mark is up and has not had its second yet.
    bool showingPausedSign() const { return pausedSignTimer_.isActive(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void showAt(QPoint pointerGlobal, RingMark mark, int fill);
    // Beside the pointer, flipped to stay on the pointer's screen.
    void placeBeside(QPoint pointerGlobal);

    RingMark mark_ = RingMark::Left;
    // The counted part in 1/5760 of a turn (Qt's 1/16 degree).
    int fill_ = 0;
    QPoint pointer_;
    QTimer pausedSignTimer_;
};

}  // namespace tz
