#include "gui/ScrollPadWindow.h"

#include <QPainter>
#include <cmath>

#include "core/engine/ScrollPad.h"
#include "gui/widgets/WindowLook.h"

namespace tz {

namespace {

const QColor kOutline(0, 0, 0);
const QColor kEdge(255, 255, 255);
const QColor kFace(64, 64, 64);
const QColor kArrow(255, 200, 0);

}  // namespace

ScrollPadWindow::ScrollPadWindow() : QWidget(nullptr, kPointerOverlayFlags) {
    makePointerOverlay(this);
    setObjectName(QStringLiteral("scrollPad"));
    const int diameter = static_cast<int>(kScrollPadDiameter);
    setFixedSize(diameter, diameter);
    setMask(QRegion(rect(), QRegion::Ellipse));
}

void ScrollPadWindow::showAt(QPoint centreGlobal) {
    const QPoint topLeft = centreGlobal - QPoint(width() / 2, height() / 2);
    if (pos() != topLeft) {
        move(topLeft);
    }
    if (!isVisible()) {
        show();
    }
}

void ScrollPadWindow::hidePad() {
    if (isVisible()) {
        hide();
    }
}

void ScrollPadWindow::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF whole = QRectF(rect());
    const double s = width();
    const double line = std::max(1.0, s / 40);
    painter.setPen(Qt::NoPen);
    // A dark outline and a light edge inside it show on any background.
    painter.fillRect(whole, kOutline);
    painter.setBrush(kEdge);
    painter.drawEllipse(whole.adjusted(line, line, -line, -line));
    painter.setBrush(kFace);
    painter.drawEllipse(whole.adjusted(2 * line, 2 * line, -2 * line, -2 * line));
    // The dead zone: a light ring round the middle, where nothing scrolls.
    const double dead = kScrollPadDeadDiameter / kScrollPadDiameter * s;
    painter.setPen(QPen(kEdge, line));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(whole.center(), dead / 2, dead / 2);
    // Four arrows pointing outwards, drawn pointing up and turned.
    painter.translate(whole.center());
    painter.setPen(QPen(kOutline, line));
    painter.setBrush(kArrow);
    const QPointF arrow[] = {{0, -0.44 * s}, {0.12 * s, -0.3 * s}, {-0.12 * s, -0.3 * s}};
    for (int turn = 0; turn < 4; ++turn) {
        painter.drawPolygon(arrow, 3);
        painter.rotate(90);
    }
}

}  // namespace tz
