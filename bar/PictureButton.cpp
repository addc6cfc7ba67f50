#include "bar/PictureButton.h"

#include <QMouseEvent>

namespace tz {

PictureButton::PictureButton(QWidget* parent) : QLabel(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover, false);
}

void PictureButton::mouseMoveEvent(QMouseEvent* event) {
    if (onMouseMove) {
        onMouseMove();
    }
    event->accept();
}

void PictureButton::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click && onClick) {
        onClick();
    }
}

}  // namespace tz
