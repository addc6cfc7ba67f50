#include <QLabel>

#include "gui/AboutWindow.h"
#include "tests/widget/WindowManagerFixture.h"

namespace tz {
namespace {

using AboutWindowTest = test::ProgramWindowsTest;

TEST_F(AboutWindowTest, TakesTheOptionsWindowsPlaceAndGivesItBack) {
    std::vector<std::string> texts(33, "");
    texts[11] = "About...";
    texts[26] = "Clicks for you.";
    texts[27] = "Thanks";
    texts[29] = "Home page";
    writeLanguage("English.lng", texts);
    start();
    bar->Image1_Click(7);
    Form3& options = windows.form3();
    const QPoint centre = options.geometry().center();
    options.Label12_Click();

    EXPECT_FALSE(options.isVisible());
    frmAbout* about = windows.about();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_LE((about->geometry().center() - centre).manhattanLength(), 4);
    EXPECT_EQ(about->windowTitle(), "About");
    EXPECT_EQ(about->lblVersion->text(), "Rel. 1.8.1");
    EXPECT_EQ(about->lblDescription->text(), "Clicks for you.");
    EXPECT_EQ(about->lblHomePageCap->text(), "Home page:");
    EXPECT_TRUE(about->lblCopyright->text().endsWith(" - Thanks"));
    EXPECT_TRUE(about->Timer1.isActive());
    EXPECT_EQ(about->scroll().top(), 2200);

    about->Timer1_Timer();
    EXPECT_EQ(about->Picture2->y(), (2200 - 10) / 15);

    about->close();
    EXPECT_TRUE(windows.form3().isVisible());
    EXPECT_EQ(windows.about(), nullptr);

    // Each opening starts afresh: the suffix is appended once.
    windows.form3().Label12_Click();
    EXPECT_EQ(windows.about()->lblCopyright->text().count(" - Thanks"), 1);
}

}  // namespace
}  // namespace tz
