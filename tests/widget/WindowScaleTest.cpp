#include <QLabel>

#include "gui/widgets/ClickableLabel.h"
#include "gui/widgets/CtlTransparent.h"

#include "gui/AboutWindow.h"
#include "tests/widget/WindowManagerFixture.h"

namespace tz {
namespace {

// The same desktop at 96 dpi and drawn at double size (192 dpi): twips per
// screen pixel halve, and every window keeps its 96-dpi layout in window pixels.
class WindowScaleTest : public test::WindowManagerTest,
                        public ::testing::WithParamInterface<double> {};

TEST_P(WindowScaleTest, EveryWindowKeepsItsLayoutAndEveryPictureFillsItsPlaceSharply) {
    const double scale = GetParam();
    fake.screen.scale = scale;
    fake.screen.tpp = 15 / scale;
    start("2\r\n5\r\n0\r\nEnglish.lng\r\n0\r\n1\r\n0\r\n3\r\n");  // with the middle-click button
    bar->runButtonCommand(ClickMode::Options);
    OptionsWindow& options = madeOptionsWindow();
    options.showAbout();
    AboutWindow* about = windows.aboutWindow();
    ASSERT_NE(about, nullptr);
    ExitWindow& exit = madeExitWindow();

    EXPECT_EQ(bar->size(), QSize(45, 411));
    EXPECT_EQ(bar->button(0)->geometry(), QRect(18, 0, 26, 32));
    EXPECT_EQ(bar->button(8)->geometry(), QRect(0, 374, 45, 33));
    EXPECT_EQ(options.size(), QSize(561, 396));
    EXPECT_EQ(exit.size(), QSize(361, 149));
    EXPECT_EQ(about->size(), QSize(425, 238));

    std::vector<const QLabel*> pictures = {options.donateButton, options.picture, exit.background,
                                           about->titlePicture, about->picture};
    for (int i = 0; i < ClickBar::kButtonCount; ++i) {
        pictures.push_back(static_cast<const QLabel*>(bar->button(i)));
    }
    for (const QLabel* place : pictures) {
        const QPixmap picture = place->pixmap();
        SCOPED_TRACE(place->geometry().x() * 1000 + place->geometry().y());
        EXPECT_EQ(picture.deviceIndependentSize().toSize(), place->size());
        EXPECT_EQ(picture.devicePixelRatio(), scale);
    }
    // The exit window's face, drawn keyed out.
    EXPECT_EQ(exit.transparentSpot->image().devicePixelRatio(), scale);
    EXPECT_EQ(exit.transparentSpot->image().deviceIndependentSize().toSize(),
              exit.transparentSpot->size());
}

INSTANTIATE_TEST_SUITE_P(Scales, WindowScaleTest, ::testing::Values(1.0, 2.0));

}  // namespace
}  // namespace tz
