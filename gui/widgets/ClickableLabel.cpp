#include "gui/widgets/ClickableLabel.h"

#include <QMouseEvent>

namespace tz {

ClickableLabel::ClickableLabel(QWidget* parent) : QLabel(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_NoMousePropagation);
}

void ClickableLabel::mouseMoveEvent(QMouseEvent* event) {
    if (onMouseMove) {
        onMouseMove();
    }
    event->accept();
}

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click && onClick) {
        onClick();
    }
}

}  // namespace tz
