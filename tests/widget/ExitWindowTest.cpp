#include <QLabel>
#include <QPushButton>

#include "gui/widgets/CtlTransparent.h"
#include "tests/widget/WindowManagerFixture.h"

namespace tz {
namespace {

using ExitWindowTest = test::WindowManagerTest;

TEST_F(ExitWindowTest, StandsAtItsPlaceWithTheFaceWithoutABox) {
    start();
    ExitWindow& exit = madeExitWindow();
    EXPECT_EQ(exit.pos(), QPoint(184, 250));
    EXPECT_EQ(exit.size(), QSize(361, 149));
    EXPECT_TRUE(exit.face->isHidden());
    EXPECT_EQ(exit.transparentSpot->geometry(), QRect(22, 28, 42, 40));
    const QImage shown = exit.grab().toImage();
    // A magenta corner of the face shows the background picture instead.
    EXPECT_NE(shown.pixel(22, 28), qRgb(255, 0, 255));
    EXPECT_TRUE(exit.yesButton->hasFocus() || exit.focusWidget() == exit.yesButton);
}

}  // namespace
}  // namespace tz
