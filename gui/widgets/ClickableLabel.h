#pragma once
#include <QLabel>
#include <functional>

namespace tz {

// A picture or text that reports pointer movement over it and clicks on it,
// like the bar's buttons and the options window's links. Movement over it is
// its own: it does not reach the window behind.
class ClickableLabel : public QLabel {
  public:
    explicit ClickableLabel(QWidget* parent);

    std::function<void()> onMouseMove;
    std::function<void()> onClick;

  protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool pressed_ = false;
};

}  // namespace tz
