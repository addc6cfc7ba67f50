#include <QLabel>
#include <QPushButton>

#include "gui/widgets/CtlTransparent.h"
#include "tests/widget/WindowManagerFixture.h"

namespace tz {
namespace {

using Form4Test = test::ProgramWindowsTest;

TEST_F(Form4Test, StandsAtItsPlaceWithTheFaceWithoutABox) {
    start();
    Form4& exit = windows.form4();
    EXPECT_EQ(exit.pos(), QPoint(184, 250));
    EXPECT_EQ(exit.size(), QSize(361, 149));
    EXPECT_TRUE(exit.Image1->isHidden());
    EXPECT_EQ(exit.ctlTransparent1->geometry(), QRect(22, 28, 42, 40));
    const QImage shown = exit.grab().toImage();
    // A magenta corner of the face shows the background picture instead.
    EXPECT_NE(shown.pixel(22, 28), qRgb(255, 0, 255));
    EXPECT_TRUE(exit.Si->hasFocus() || exit.focusWidget() == exit.Si);
}

}  // namespace
}  // namespace tz
