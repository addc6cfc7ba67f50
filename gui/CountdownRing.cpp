#include "gui/CountdownRing.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <algorithm>

#include "gui/widgets/WindowLook.h"

namespace tz {

namespace {

constexpr int kFullTurn = 360 * 16;
// The ring's top left corner lies this far right of and below the pointer,
// or as far left of and above it where the pointer's screen ends.
constexpr int kOffset = 12;
constexpr int kPausedSignMilliseconds = 1000;
const QColor kOutline(0, 0, 0);
const QColor kEdge(255, 255, 255);
const QColor kTrack(64, 64, 64);

// The marks are told apart by shape, not only by colour, all black on the
// white middle of the ring:
// - Left, Right, Middle: a mouse (a rounded body cut by a line between its
//   two buttons) with that button filled; the middle one is a narrow bar
//   down the middle of the buttons' half.
// - Double: two dots side by side.
// - DragPress: an arrow pointing down (the button goes down and stays down).
// - DragRelease: an arrow pointing up (the held button comes up).
// - Paused: two upright bars.
// - Scroll: arrow heads up and down, as on the scroll button.
void drawMark(QPainter& painter, RingMark mark, const QRectF& box) {
    const double s = box.width();
    const QPointF centre = box.center();
    const double pen = std::max(1.0, s / 10);
    painter.setPen(QPen(kOutline, pen));
    painter.setBrush(kOutline);
    switch (mark) {
        case RingMark::Left:
        case RingMark::Right:
        case RingMark::Middle: {
            const QRectF body(centre.x() - 0.32 * s, box.top(), 0.64 * s, s);
            QPainterPath outline;
            outline.addRoundedRect(body, 0.3 * s, 0.3 * s);
            const double buttonsBottom = body.top() + 0.45 * s;
            QRectF pressed(body.left(), body.top(), body.width() / 2, 0.45 * s);
            if (mark == RingMark::Right) {
                pressed.moveLeft(centre.x());
            } else if (mark == RingMark::Middle) {
                pressed = QRectF(centre.x() - 0.1 * s, body.top(), 0.2 * s, 0.45 * s);
            }
            QPainterPath button;
            button.addRect(pressed);
            painter.drawPath(outline.intersected(button));
            painter.setBrush(Qt::NoBrush);
            painter.drawPath(outline);
            painter.drawLine(QPointF(body.left(), buttonsBottom),
                             QPointF(body.right(), buttonsBottom));
            if (mark != RingMark::Middle) {
                painter.drawLine(QPointF(centre.x(), body.top()),
                                 QPointF(centre.x(), buttonsBottom));
            }
            break;
        }
        case RingMark::Double: {
            const double r = 0.2 * s;
            painter.drawEllipse(QPointF(centre.x() - 0.25 * s, centre.y()), r, r);
            painter.drawEllipse(QPointF(centre.x() + 0.25 * s, centre.y()), r, r);
            break;
        }
        case RingMark::DragPress:
        case RingMark::DragRelease: {
            // Drawn pointing down, then turned over for the release.
            painter.save();
            painter.translate(centre);
            if (mark == RingMark::DragRelease) {
                painter.rotate(180);
            }
            painter.setPen(Qt::NoPen);
            painter.drawRect(QRectF(-0.1 * s, -0.5 * s, 0.2 * s, 0.5 * s));
            const QPointF head[] = {{-0.4 * s, 0}, {0.4 * s, 0}, {0, 0.5 * s}};
            painter.drawPolygon(head, 3);
            painter.restore();
            break;
        }
        case RingMark::Scroll: {
            painter.setPen(Qt::NoPen);
            const QPointF up[] = {{centre.x(), box.top()},
                                  {centre.x() + 0.4 * s, box.top() + 0.4 * s},
                                  {centre.x() - 0.4 * s, box.top() + 0.4 * s}};
            const QPointF down[] = {{centre.x(), box.bottom()},
                                    {centre.x() + 0.4 * s, box.bottom() - 0.4 * s},
                                    {centre.x() - 0.4 * s, box.bottom() - 0.4 * s}};
            painter.drawPolygon(up, 3);
            painter.drawPolygon(down, 3);
            break;
        }
        case RingMark::Paused:
            painter.setPen(Qt::NoPen);
            painter.drawRect(QRectF(centre.x() - 0.35 * s, box.top() + 0.1 * s, 0.25 * s, 0.8 * s));
            painter.drawRect(QRectF(centre.x() + 0.1 * s, box.top() + 0.1 * s, 0.25 * s, 0.8 * s));
            break;
    }
}

}  // namespace

CountdownRing::CountdownRing() : QWidget(nullptr, kPointerOverlayFlags) {
    makePointerOverlay(this);
    setObjectName(QStringLiteral("countdownRing"));
    pausedSignTimer_.setSingleShot(true);
    QObject::connect(&pausedSignTimer_, &QTimer::timeout, this, [this] { hide(); });
    setDiameter(32);
}

void CountdownRing::setDiameter(int logicalPixels) {
    const int diameter = std::max(8, logicalPixels);
    if (size() == QSize(diameter, diameter)) {
        return;
    }
    setFixedSize(diameter, diameter);
    setMask(QRegion(rect(), QRegion::Ellipse));
    if (isVisible()) {
        placeBeside(pointer_);
    }
    update();
}

void CountdownRing::showCountdown(QPoint pointerGlobal, RingMark mark, int ticks, int delay) {
    pausedSignTimer_.stop();
    const int fill = delay <= 0 ? kFullTurn : std::clamp(ticks, 0, delay) * kFullTurn / delay;
    showAt(pointerGlobal, mark, fill);
}

void CountdownRing::showPausedSign(QPoint pointerGlobal) {
    showAt(pointerGlobal, RingMark::Paused, 0);
    pausedSignTimer_.start(kPausedSignMilliseconds);
}

void CountdownRing::hideCountdown() {
    pausedSignTimer_.stop();
    hide();
}

void CountdownRing::showAt(QPoint pointerGlobal, RingMark mark, int fill) {
    if (mark != mark_ || fill != fill_) {
        mark_ = mark;
        fill_ = fill;
        update();
    }
    if (pointerGlobal != pointer_ || !isVisible()) {
        placeBeside(pointerGlobal);
    }
    if (!isVisible()) {
        show();
    }
}

void CountdownRing::placeBeside(QPoint pointerGlobal) {
    pointer_ = pointerGlobal;
    const QScreen* screen = QGuiApplication::screenAt(pointerGlobal);
    const QRect area = (screen ? screen : QGuiApplication::primaryScreen())->geometry();
    QPoint at = pointerGlobal + QPoint(kOffset, kOffset);
    if (at.x() + width() > area.x() + area.width()) {
        at.setX(pointerGlobal.x() - kOffset - width());
    }
    if (at.y() + height() > area.y() + area.height()) {
        at.setY(pointerGlobal.y() - kOffset - height());
    }
    move(std::max(at.x(), area.x()), std::max(at.y(), area.y()));
}

void CountdownRing::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF whole = QRectF(rect());
    painter.setPen(Qt::NoPen);
    // A dark outline and a light edge inside it show on any background.
    painter.fillRect(whole, kOutline);
    const double line = std::max(1.0, width() / 24.0);
    painter.setBrush(kEdge);
    painter.drawEllipse(whole.adjusted(line, line, -line, -line));
    const QRectF track = whole.adjusted(2 * line, 2 * line, -2 * line, -2 * line);
    painter.setBrush(kTrack);
    painter.drawEllipse(track);
    // The counted part, clockwise from the top.
    painter.setBrush(QColor::fromRgba(kFillColour));
    painter.drawPie(track, 90 * 16, -fill_);
    // The white middle holding the mark.
    const double middle = 0.64 * width();
    const QRectF disc((width() - middle) / 2, (height() - middle) / 2, middle, middle);
    painter.setPen(QPen(kOutline, line));
    painter.setBrush(kEdge);
    painter.drawEllipse(disc);
    const double markSize = 0.66 * middle;
    drawMark(painter, mark_,
             QRectF(disc.center() - QPointF(markSize, markSize) / 2, QSizeF(markSize, markSize)));
}

}  // namespace tz
