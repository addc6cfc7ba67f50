#include "gui/widgets/CtlTransparent.h"

#include <gtest/gtest.h>
#include <QPainter>
#include <QPixmap>

namespace tz {
namespace {

const QRgb kMagenta = qRgb(255, 0, 255);

// A 42 x 40 picture: magenta, with an orange disc in the middle.
QPixmap face() {
    QImage image(42, 40, QImage::Format_RGB32);
    image.fill(kMagenta);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 140, 0));
    painter.drawEllipse(QRect(6, 5, 30, 30));
    return QPixmap::fromImage(image);
}

TEST(CtlTransparent, MagentaPixelsAreNeitherDrawnNorHit) {
    QWidget parent;
    parent.resize(200, 200);
    parent.setAutoFillBackground(true);
    QPalette pal = parent.palette();
    pal.setColor(QPalette::Window, QColor(0, 0, 255));
    parent.setPalette(pal);

    auto* control = new CtlTransparent(&parent);
    control->setGeometry(10, 20, 42, 40);
    control->setMaskColor(kMagenta);
    control->setPicture(face());

    const QRegion region = control->mask();
    EXPECT_TRUE(region.contains(QPoint(21, 20)));  // the disc
    EXPECT_FALSE(region.contains(QPoint(1, 1)));   // a magenta corner
    EXPECT_FALSE(region.contains(QPoint(41, 39)));

    // A click on a magenta pixel reaches the window beneath.
    EXPECT_EQ(parent.childAt(10 + 21, 20 + 20), control);
    EXPECT_EQ(parent.childAt(10 + 1, 20 + 1), nullptr);

    const QImage shown = parent.grab().toImage();
    EXPECT_EQ(shown.pixel(10 + 21, 20 + 20), qRgb(255, 140, 0));
    EXPECT_EQ(shown.pixel(10 + 1, 20 + 1), qRgb(0, 0, 255));
}

TEST(CtlTransparent, ALargerControlShowsTheWindowColourBeyondThePicture) {
    QWidget parent;
    auto* control = new CtlTransparent(&parent);
    control->setGeometry(0, 0, 60, 50);
    control->setMaskColor(kMagenta);
    control->setPicture(face());
    EXPECT_TRUE(control->mask().contains(QPoint(55, 45)));
    EXPECT_EQ(control->image().pixel(55, 45), control->palette().color(QPalette::Base).rgb());
}

}  // namespace
}  // namespace tz
