#include "gui/widgets/CtlTransparent.h"

#include <QMouseEvent>
#include <QPainter>

namespace tz {

QRegion opaqueRegion(const QImage& image, QRgb maskColor) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const QRgb key = maskColor | 0xFF000000u;
    QRegion region;
    // One rectangle per run of kept pixels in each row.
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        int x = 0;
        while (x < rgb.width()) {
            while (x < rgb.width() && row[x] == key) {
                ++x;
            }
            const int start = x;
            while (x < rgb.width() && row[x] != key) {
                ++x;
            }
            if (x > start) {
                region += QRect(start, y, x - start, 1);
            }
        }
    }
    return region;
}

CtlTransparent::CtlTransparent(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_NoSystemBackground);
}

void CtlTransparent::setPicture(const QPixmap& picture) {
    // Kept at the picture's own resolution, so that a double-size picture
    // stays sharp on a desktop drawn at double size.
    const qreal ratio = picture.devicePixelRatio();
    image_ = QImage(size() * ratio, QImage::Format_RGB32);
    image_.setDevicePixelRatio(ratio);
    image_.fill(palette().color(QPalette::Base));
    QPainter painter(&image_);
    painter.drawPixmap(0, 0, picture);
    painter.end();
    updateMask();
}

void CtlTransparent::setMaskColor(QRgb color) {
    maskColor_ = color;
    updateMask();
}

void CtlTransparent::updateMask() {
    if (image_.isNull()) {
        return;
    }
    // The mask is in window pixels: one sample of the picture for each.
    const QImage samples = image_.devicePixelRatio() == 1
                               ? image_
                               : image_.scaled(image_.deviceIndependentSize().toSize(),
                                               Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const QRegion region = opaqueRegion(samples, maskColor_);
    // An empty mask would mean "no mask" to Qt; a fully keyed-out picture
    // must instead leave nothing of the control.
    setMask(region.isEmpty() ? QRegion(-1, -1, 1, 1) : region);
    update();
}

void CtlTransparent::paintEvent(QPaintEvent* /*event*/) {
    if (!image_.isNull()) {
        QPainter(this).drawImage(0, 0, image_);
    }
}

void CtlTransparent::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && onClick) {
        onClick();
    }
}

}  // namespace tz
