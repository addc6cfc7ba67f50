#include <QLabel>

#include "gui/AboutWindow.h"
#include "tests/widget/WindowManagerFixture.h"

namespace tz {
namespace {

using AboutWindowTest = test::WindowManagerTest;

TEST_F(AboutWindowTest, TakesTheOptionsWindowsPlaceAndGivesItBack) {
    std::vector<std::string> texts(33, "");
    texts[11] = "About...";
    texts[26] = "Clicks for you.";
    texts[27] = "Thanks";
    texts[29] = "Home page";
    writeLanguage("English.lng", texts);
    start();
    bar->runButtonCommand(ClickMode::Options);
    OptionsWindow& options = madeOptionsWindow();
    const QPoint centre = options.geometry().center();
    options.showAbout();

    EXPECT_FALSE(options.isVisible());
    AboutWindow* about = windows.aboutWindow();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_LE((about->geometry().center() - centre).manhattanLength(), 4);
    EXPECT_EQ(about->windowTitle(), "About");
    EXPECT_EQ(about->versionLabel->text(), "Rel. 1.8.1");
    EXPECT_EQ(about->descriptionLabel->text(), "Clicks for you.");
    EXPECT_EQ(about->homePageCaption->text(), "Home page:");
    EXPECT_TRUE(about->copyrightLabel->text().endsWith(" - Thanks"));
    EXPECT_TRUE(about->scrollTimer.isActive());
    EXPECT_EQ(about->scroll().top(), 2200);

    about->onScrollTick();
    EXPECT_EQ(about->creditsPanel->y(), (2200 - 10) / 15);

    about->close();
    EXPECT_TRUE(madeOptionsWindow().isVisible());
    EXPECT_EQ(windows.aboutWindow(), nullptr);

    // Each opening starts afresh: the suffix is appended once.
    madeOptionsWindow().showAbout();
    EXPECT_EQ(windows.aboutWindow()->copyrightLabel->text().count(" - Thanks"), 1);
}

}  // namespace
}  // namespace tz
