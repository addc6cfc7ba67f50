// What the windows say: tooltips that show, the names a screen reader reads,
// and texts that fit their places in every shipped language.
#include <QAccessible>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QToolTip>
#include <algorithm>

#include "BuildConfig.h"
#include "core/i18n/LanguageFile.h"
#include "tests/widget/WindowsFixture.h"

namespace tz {
namespace {

using test::click;
using test::control;
using WindowTextsTest = test::WindowsTest;

// The bar and every window, with the middle-click button shown.
const std::string kAllButtons = "2\r\n5\r\n0\r\nEnglish.lng\r\n0\r\n1\r\n0\r\n3\r\n";

QString accessible(QWidget* widget, QAccessible::Text kind = QAccessible::Name) {
    return QAccessible::queryAccessibleInterface(widget)->text(kind);
}

TEST_F(WindowTextsTest, BarTooltipShowsOverAButtonWhileAnotherWindowIsActive) {
    start();
    bar->show();
    QWidget other;  // the window the user works in
    other.setGeometry(600, 600, 100, 100);
    other.show();
    other.activateWindow();
    QCoreApplication::processEvents();
    ASSERT_FALSE(bar->isActiveWindow());
    QWidget* help = control(*bar, "helpButton");
    QCursor::setPos(help->mapToGlobal(help->rect().center()));  // a real move, from the system
    QElapsedTimer waited;
    waited.start();
    while (!QToolTip::isVisible() && waited.elapsed() < 3000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), "T2");
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
        {1, "okButton", 4, ""}, {1, "cancelButton", 5, ""}, {2, "", 12, ""},
        {2, "yesButton", 20, ""}, {2, "noButton", 21, ""}, {3, "homePageLink", 29, ""},
        {3, "closeButton", 4, ""}};
    // clang-format on
    // A language change renames them; a button caption's "&" marks its access key.
    std::vector<std::string> second;
    for (int i = 0; i < 33; ++i) {
        second.push_back((i == 4 || i == 20 ? "&S" : "S") + std::to_string(i));
    }
    writeLanguage("Second.lng", second);
    for (const std::string language : {"T", "S"}) {
        if (language == "S") {
            LoadLanguageFile(app.texts, dir.file("Lang/Second.lng"), LoadMode::Startup);
            windows.applyTexts();
        }
        click(control(options(), "aboutButton"));
        for (const auto& [window, name, text, suffix] : names) {
            QWidget* w = *name ? control(*allWindows()[window], name) : allWindows()[window];
            EXPECT_EQ(accessible(w).toStdString(), language + std::to_string(text) + suffix)
                << name;
        }
        EXPECT_EQ(
            accessible(control(*windows.aboutWindow(), "homePageLink"), QAccessible::Description),
            build::kSiteBase);
        windows.aboutWindow()->close();
    }
}

// Esc and the close control (clicked as a rest clicks it) leave the program as
// the window's close box does: the options window back, the same click modes.
TEST_F(WindowTextsTest, AboutWindowClosesWithEscOrItsCloseControlAsByItsCloseBox) {
    start();
    const std::function<void(AboutWindow&)> ways[] = {
        [](AboutWindow& about) { about.close(); },
        [](AboutWindow& about) {
            QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(&about, &esc);
        },
        [](AboutWindow& about) { click(control(about, "closeButton")); }};
    std::vector<std::tuple<bool, bool, ClickMode, ClickMode>> after;
    for (const auto& close : ways) {
        click(control(openOptions(), "aboutButton"));
        close(*windows.aboutWindow());
        after.emplace_back(windows.aboutWindow() == nullptr, options().isVisible(), app.clickMode,
                           ClickMode::Exit);
        click(control(options(), "cancelButton"));
        std::get<3>(after.back()) = app.clickMode;
    }
    EXPECT_EQ(after.front(), std::make_tuple(true, true, ClickMode::LeftClick, ClickMode::LeftClick));
    EXPECT_EQ(after, decltype(after)(3, after.front()));
}

// Every text on every window fits its place, and no two labels, pictures or
// buttons side by side overlap: each shipped language, at 96 dpi and drawn at 2x.
class WindowTextsFitTest : public test::WindowsTest, public ::testing::WithParamInterface<double> {
  protected:
    void expectFits(QWidget* parent, const std::string& where) {
        std::vector<QWidget*> placed;
        for (QWidget* w : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            auto* label = qobject_cast<QLabel*>(w);
            auto* button = qobject_cast<QPushButton*>(w);
            const QString text = label ? label->text() : button ? button->text() : QString();
            const std::string at = where + " " + w->objectName().toStdString();
            if (!text.isEmpty() && !w->isHidden()) {
                const QFontMetrics metrics(w->font());
                QRect room = w->contentsRect();
                QSize needs = metrics.size(button ? Qt::TextShowMnemonic : 0, text);
                if (button) {
                    QStyleOptionButton option;
                    option.initFrom(button);
                    room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option,
                                                           button);
                } else if (label->wordWrap()) {
                    needs = metrics.boundingRect(room, Qt::TextWordWrap, text).size();
                }
                EXPECT_TRUE(room.width() >= needs.width() && room.height() >= needs.height())
                    << at << " " << text.toStdString() << " needs " << needs.width() << "x"
                    << needs.height() << ", has " << room.width() << "x" << room.height();
                EXPECT_TRUE(parent->rect().contains(w->geometry())) << at;
            }
            if ((label || button) && !w->isHidden() && w->objectName() != "background") {
                placed.push_back(w);
            }
            expectFits(w, where);
        }
        for (std::size_t i = 0; i < placed.size(); ++i) {
            for (std::size_t j = i + 1; j < placed.size(); ++j) {
                EXPECT_FALSE(placed[i]->geometry().intersects(placed[j]->geometry()))
                    << where << " " << placed[i]->objectName().toStdString() << " and "
                    << placed[j]->objectName().toStdString();
            }
        }
    }
};

TEST_P(WindowTextsFitTest, InEveryShippedLanguage) {
    fake.screen.scale = GetParam();
    fake.screen.tpp = 15 / GetParam();
    const std::filesystem::path shipped =
        std::filesystem::path(__FILE__).parent_path() / "../../resources/Lang";
    std::filesystem::copy(shipped, dir.file("Lang"));
    start(kAllButtons);
    std::vector<std::string> languages;
    for (const auto& file : std::filesystem::directory_iterator(shipped)) {
        languages.push_back(file.path().string());
    }
    ASSERT_EQ(languages.size(), 9u);
    for (const std::string& language : languages) {
        ASSERT_TRUE(LoadLanguageFile(app.texts, language, LoadMode::Picker)) << language;
        windows.applyTexts();
        click(control(options(), "aboutButton"));
        const char* windowNames[] = {"bar", "options", "exit", "about"};
        for (int i = 0; i < 4; ++i) {
            expectFits(allWindows()[i], language.substr(language.rfind('/') + 1) + windowNames[i]);
        }
        windows.aboutWindow()->close();
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, WindowTextsFitTest, ::testing::Values(1.0, 2.0));

}  // namespace
}  // namespace tz
