#include "unilabel/example/PaintedCanvas.h"

#include <QPainter>

namespace tz::example {

PaintedCanvas::PaintedCanvas(QWidget* parent) : QWidget(parent) {}

void PaintedCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(236, 240, 246));
    painter.setPen(QPen(QColor(200, 214, 232), 6));
    for (int x = -height(); x < width(); x += 18) {
        painter.drawLine(x, height(), x + height(), 0);
    }
}

}  // namespace tz::example
