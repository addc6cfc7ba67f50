#pragma once
#include <QAccessible>
#include <QLabel>
#include <functional>

namespace tz {

// A picture or text that reports pointer movement over it and clicks on it,
// like the bar's buttons and the options window's links. Movement over it is
// its own: it does not reach the window behind.
//
// A screen reader sees it in `accessibleRole` (a label's or a picture's by
// default) and, when it acts, with a press action; a choice among others (the
// bar's click kinds) also has a checked state.
class ClickableLabel : public QLabel {
    Q_OBJECT

  public:
    explicit ClickableLabel(QWidget* parent);

    std::function<void()> onMouseMove;
    std::function<void()> onClick;
    // What a screen reader's press does; the click's action when unset.
    std::function<void()> onPress;
    // Set for a choice among others: whether it is the one in force.
    std::function<bool()> isChecked;
    QAccessible::Role accessibleRole = QAccessible::NoRole;

    // Whether a screen reader can press it, and pressing it.
    bool pressable() const { return onPress || onClick; }
    void press();

  protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool pressed_ = false;
};

}  // namespace tz
