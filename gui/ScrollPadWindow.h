#pragma once
#include <QPoint>
#include <QWidget>

namespace tz {

// The scroll pad: a round window centred where a rest placed it, with arrows
// up, down, left and right round a dead zone in its middle. Like the countdown
// ring it never takes input or focus (wheel steps reach the window under it),
// stays out of taskbars and is shaped round by a mask, so it needs no
// compositor. It is made once and costs nothing while hidden.
class ScrollPadWindow : public QWidget {
  public:
    ScrollPadWindow();

    // Shows the pad centred on `centreGlobal` (window pixels); with nothing
    // changed it neither moves nor repaints.
    void showAt(QPoint centreGlobal);
    void hidePad();

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace tz
