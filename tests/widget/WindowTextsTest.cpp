// What the windows say: tooltips that show, the names a screen reader reads, and texts that fit
// their places in every shipped language.
#include <QAccessible>
#include <QDeadlineTimer>
#include <QLabel>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QToolTip>
#include <algorithm>
#include <fstream>

#include "BuildConfig.h"
#include "core/i18n/LanguageFile.h"
#include "gui/ExtrasWindow.h"
#include "gui/widgets/CtlTransparent.h"
#include "tests/widget/WindowsFixture.h"

namespace tz {
namespace {

using test::click;
using test::control;
using WindowTextsTest = test::WindowsTest;

// The bar and every window, with the middle-click button shown.
const std::string kAllButtons = "2\r\n5\r\n0\r\nEnglish.lng\r\n0\r\n1\r\n0\r\n3\r\n";

std::string accessible(QWidget* widget, QAccessible::Text kind = QAccessible::Name) {
    return QAccessible::queryAccessibleInterface(widget)->text(kind).toStdString();
}

TEST_F(WindowTextsTest, BarTooltipShowsOverAButtonWhileAnotherWindowIsActive) {
    start();
    bar->show();
    QWidget other;  // the window the user works in
    other.setGeometry(600, 600, 100, 100);
    other.show();  // and active
    QWidget* help = control(*bar, "helpButton");
    QCursor::setPos(other.geometry().center());  // moves from the system, onto the button
    QCursor::setPos(help->mapToGlobal(help->rect().center()));
    for (QDeadlineTimer wait(3000); !QToolTip::isVisible() && !wait.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_FALSE(bar->isActiveWindow());
    EXPECT_EQ(QToolTip::isVisible() ? QToolTip::text() : QString(), "T2");
    QToolTip::hideText();
}

TEST_F(WindowTextsTest, EveryReachableControlIsNamedInTheCurrentLanguage) {
    start(kAllButtons);
    // Window (bar, options, exit, about), control ("": the window), text and suffix.
    // clang-format off
    const std::tuple<int, const char*, int, const char*> names[] = {
        {0, "", 1, ""}, {0, "exitButton", 12, ""}, {0, "pauseButton", 22, ""},
        {0, "doubleClickButton", 9, ""}, {0, "leftClickButton", 8, ""}, {0, "dragButton", 10, ""},
        {0, "rightClickButton", 6, ""}, {0, "middleClickButton", 7, ""},
        {0, "optionsButton", 13, "..."}, {0, "helpButton", 2, ""}, {1, "", 13, ""},
        {1, "mouseSettingsLink", 28, ""}, {1, "aboutButton", 11, ""}, {1, "soundBox", 18, ""},
        {1, "soundLabel", 18, ""}, {1, "toleranceSlider", 14, " (0 - 10)"},
        {1, "delaySlider", 15, " (2 - 20)"}, {1, "startAtLogonBox", 16, ""},
        {1, "startAtLogonLabel", 16, ""}, {1, "middleButtonBox", 23, ""},
        {1, "middleButtonLabel", 23, ""}, {1, "rightEdgeBox", 30, ""}, {1, "languageLink", 17, ""},
        {1, "addLanguageLink", 24, ""}, {1, "productPageLink", 25, ""}, {1, "donateButton", 3, ""},
        {1, "moreOptionsLink", 54, ""}, {1, "findSettingsLink", 64, ""},
        {1, "okButton", 4, ""}, {1, "cancelButton", 5, ""}, {2, "", 12, ""},
        {2, "yesButton", 20, ""}, {2, "noButton", 21, ""}, {3, "homePageLink", 29, ""},
        {3, "closeButton", 4, ""}};
    // clang-format on
    // A language change renames them; a button caption's "&" marks its access key.
    std::vector<std::string> second;
    for (int i = 0; i < 33; ++i)
        second.push_back((i == 4 || i == 20 ? "&S" : "S") + std::to_string(i));
    writeLanguage("Second.lng", second);
    for (const std::string language : {"T", "S"}) {
        app.texts[TextId::MoreOptionsLink] = language + "54";  // the files end before them
        app.texts[TextId::FindSettingsLink] = language + "64";
        windows.applyTexts();
        click(control(options(), "aboutButton"));
        for (const auto& [window, name, text, suffix] : names) {
            QWidget* w = *name ? control(*allWindows()[window], name) : allWindows()[window];
            EXPECT_EQ(accessible(w), language + std::to_string(text) + suffix) << name;
        }
        QWidget* link = control(*windows.aboutWindow(), "homePageLink");
        EXPECT_EQ(accessible(link, QAccessible::Description), build::kSiteBase);
        windows.aboutWindow()->close();
        LoadLanguageFile(app.texts, dir.file("Lang/Second.lng"), LoadMode::Startup);
        windows.applyTexts();
    }
}

// Every text fits its place and no two controls side by side overlap (backgrounds and boxes that
// hold others aside), on every window in each shipped language, at 1x and 2x.
void expectTextsFit(QWidget* parent, const std::string& where) {
    std::vector<QWidget*> placed;
    for (QWidget* w : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        auto* label = qobject_cast<QLabel*>(w);
        auto* button = qobject_cast<QPushButton*>(w);
        if (w->isHidden() || !w->children().isEmpty() || w->objectName() == "background") {
            expectTextsFit(w, where);
            continue;
        }
        const QString text = label ? label->text() : button ? button->text() : QString();
        const std::string at = where + " " + w->objectName().toStdString();
        if (!text.isEmpty()) {
            const QFontMetrics metrics(w->font());
            QRect room = w->contentsRect();
            QSize needs = metrics.size(button ? Qt::TextShowMnemonic : 0, text);
            if (button) {
                QStyleOptionButton option;
                option.initFrom(button);
                room = w->style()->subElementRect(QStyle::SE_PushButtonContents, &option, w);
            } else if (label->wordWrap()) {
                needs = metrics.boundingRect(room, Qt::TextWordWrap, text).size();
            }
            EXPECT_TRUE(room.width() >= needs.width() && room.height() >= needs.height())
                << at << " " << text.toStdString();
            EXPECT_TRUE(parent->rect().contains(w->geometry())) << at;
        }
        for (const QWidget* before : placed) {
            EXPECT_FALSE(before->geometry().intersects(w->geometry()))
                << at << " and " << before->objectName().toStdString();
        }
        placed.push_back(w);
    }
}

class TextsFitTest : public test::WindowsTest, public ::testing::WithParamInterface<double> {};

TEST_P(TextsFitTest, InEveryShippedLanguage) {
    fake.screen.scale = GetParam();
    fake.screen.tpp = 15 / GetParam();
    const std::filesystem::path shipped = TZ_LANG_DIR;
    std::filesystem::copy(shipped, dir.file("Lang"));
    start(kAllButtons);
    ASSERT_EQ(std::distance(std::filesystem::directory_iterator(shipped), {}), 9);
    ExtrasWindow extras(fake.screen);
    for (const auto& file : std::filesystem::directory_iterator(shipped)) {
        ASSERT_TRUE(LoadLanguageFile(app.texts, file.path().string(), LoadMode::Picker));
        std::ifstream in(file.path(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        ASSERT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), std::ptrdiff_t{kTextTableSize})
            << file.path();
        windows.applyTexts();
        extras.retranslate(app.texts);
        click(control(options(), "aboutButton"));
        std::vector<QWidget*> all = allWindows();
        // Every window keeps its 96-dpi layout in window pixels, every picture fills its place
        // sharply: at 192 dpi twips per screen pixel halve.
        std::vector<QSize> sizes;
        for (QWidget* window : all) {
            sizes.push_back(window->size());
            for (const QLabel* place : window->findChildren<QLabel*>()) {
                const QPixmap picture = place->pixmap();
                if (!picture.isNull() && place != bar->background()) {  // a stretched strip
                    EXPECT_EQ(picture.deviceIndependentSize().toSize(), place->size());
                    EXPECT_EQ(picture.devicePixelRatio(), GetParam())
                        << place->objectName().toStdString();
                }
            }
        }
        EXPECT_EQ(sizes, (std::vector<QSize>{{45, 411}, {561, 396}, {361, 149}, {425, 238}}));
        // The exit window's face, drawn keyed out.
        auto* face = control<CtlTransparent>(*windows.exitWindow(), "transparentSpot");
        EXPECT_EQ(face->image().devicePixelRatio(), GetParam());
        EXPECT_EQ(face->image().deviceIndependentSize().toSize(), face->size());
        all.push_back(&extras);
        // "Find my settings" while it samples, then with its suggestion.
        windows.openSettingsFinder();
        expectTextsFit(windows.settingsFinder(), file.path().filename().string() + " finder");
        findSettingsByResting(4, 7);
        all.push_back(windows.settingsFinder());
        for (QWidget* window : all) {
            expectTextsFit(window, file.path().filename().string() + " " +
                                       window->windowTitle().toStdString());
        }
        windows.aboutWindow()->close();
        windows.closeSettingsFinder();
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, TextsFitTest, ::testing::Values(1.0, 2.0));

}  // namespace
}  // namespace tz
