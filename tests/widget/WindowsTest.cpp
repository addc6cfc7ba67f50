// The options, exit and about windows.
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTextDocumentFragment>
#include <QTimer>
#include <QWindow>

#include "BuildConfig.h"
#include "gui/widgets/CtlTransparent.h"
#include "tests/widget/WindowsFixture.h"

namespace tz {
namespace {

using test::click;
using test::control;
using test::WindowsTest;

TEST_F(WindowsTest, StartUpMakesBothWindowsHiddenInTheOrderThatDecidesTheirModes) {
    start("2\r\n5\r\n0\r\nEnglish.lng\r\n0\r\n0\r\n0\r\n5\r\n");
    const std::string before = dir.read(kSettingsFileName);
    EXPECT_FALSE(windows.isOptionsWindowVisible() || windows.isExitWindowVisible());
    EXPECT_EQ(app.clickMode, ClickMode::RightClick);  // the saved start mode
    // The exit window was made inside the options window's load step, before
    // anything had set the click mode; the options window after it.
    click(control(exitWindow(), "noButton"));
    EXPECT_EQ(app.clickMode, ClickMode::Exit);
    // Cancel writes nothing.
    click(control(options(), "soundLabel"));
    control<QScrollBar>(options(), "toleranceSlider")
        ->triggerAction(QScrollBar::SliderSingleStepAdd);
    click(control(options(), "cancelButton"));
    EXPECT_EQ(app.clickMode, ClickMode::LeftClick);
    EXPECT_EQ(windows.optionsWindow(), nullptr);
    EXPECT_EQ(dir.read(kSettingsFileName), before);
    EXPECT_EQ(app.settings.soundOn, 0);
    EXPECT_EQ(fake.startupEntry.writes + fake.startupEntry.removals, 0);
}

// The values from the file (one refused by its scroll bar, whose number still
// shows it), or a first run's defaults, given after start-up made the window.
struct OptionsCase {
    std::string file;
    int tolerance;
    QString toleranceShown;
    int delay;
    std::array<Qt::CheckState, 4> boxes;
    std::string savedByOk;
};
class OptionsValuesTest : public WindowsTest, public ::testing::WithParamInterface<OptionsCase> {};

TEST_P(OptionsValuesTest, AreShownAndOkSavesThemAsShown) {
    const OptionsCase& c = GetParam();
    start(c.file);
    OptionsWindow& o = openOptions();
    EXPECT_TRUE(o.isVisible());
    EXPECT_EQ(control<QScrollBar>(o, "toleranceSlider")->value(), c.tolerance);
    EXPECT_EQ(control<QLabel>(o, "toleranceValueLabel")->text(), c.toleranceShown);
    EXPECT_EQ(control<QScrollBar>(o, "delaySlider")->value(), c.delay);
    EXPECT_EQ(control<QLabel>(o, "delayValueLabel")->text(), QString::number(c.delay));
    const char* boxes[] = {"startAtLogonBox", "soundBox", "middleButtonBox", "rightEdgeBox"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(control<QCheckBox>(o, boxes[i])->checkState(), c.boxes[i]) << boxes[i];
    }
    EXPECT_EQ(control<QLabel>(o, "productTitleLabel")->text(), "Tindro Zevad Free 1.8.1");
    click(control(o, "okButton"));
    EXPECT_EQ(dir.read(kSettingsFileName), c.savedByOk);
}

INSTANTIATE_TEST_SUITE_P(
    Files, OptionsValuesTest,
    ::testing::Values(
        OptionsCase{"15\r\n7\r\n1\r\nEnglish.lng\r\n2\r\n1\r\n0\r\n4\r\n",
                    0,
                    "15",
                    7,
                    {Qt::Checked, Qt::PartiallyChecked, Qt::Checked, Qt::Unchecked},
                    "0\r\n7\r\n1\r\nEnglish.lng\r\n2\r\n1\r\n0\r\n4\r\n"},
        OptionsCase{"", 2, "2", 5, {}, "2\r\n5\r\n0\r\nEnglish.lng\r\n0\r\n0\r\n0\r\n0\r\n"}));

TEST_F(WindowsTest, OkSavesTheStartModeInForceUpdatesTheEntryAndRefitsTheBar) {
    start();
    bar->selectButton(5);  // saved at once as the next start's mode
    OptionsWindow& o = openOptions();
    control<QScrollBar>(o, "delaySlider")->triggerAction(QScrollBar::SliderSingleStepAdd);
    EXPECT_EQ(control<QLabel>(o, "delayValueLabel")->text(), "6");
    click(control(o, "startAtLogonLabel"));
    click(control(o, "middleButtonLabel"));
    fake.pointer.at = {500, 500};
    for (int tick = 0; tick < 3; ++tick) {  // a move, then two resting ticks
        bar->engine().tick();
    }
    ASSERT_GT(bar->engine().state().clickTicks + bar->engine().state().barTicks, 0);
    click(control(o, "okButton"));
    EXPECT_EQ(dir.read(kSettingsFileName), "2\r\n6\r\n1\r\nEnglish.lng\r\n0\r\n1\r\n0\r\n3\r\n");
    EXPECT_EQ(fake.startupEntry.entry, dir.path() + "/tindro-zevad");
    EXPECT_EQ(bar->engine().state().clickTicks + bar->engine().state().barTicks, 0);
    EXPECT_EQ(windows.optionsWindow(), nullptr);
    // The middle-click button shows and the buttons below it move down; then back.
    const auto lowerButtons = [this] {
        return std::array{bar->buttonTopTwips(7), bar->buttonTopTwips(8), bar->heightTwips()};
    };
    EXPECT_TRUE(bar->isButtonVisible(6));
    EXPECT_EQ(lowerButtons(), (std::array<double, 3>{5130, 5610, 6165}));
    for (const char* name : {"middleButtonLabel", "startAtLogonLabel", "okButton"}) {
        click(control(openOptions(), name));
    }
    EXPECT_FALSE(bar->isButtonVisible(6));
    EXPECT_EQ(lowerButtons(), (std::array<double, 3>{4380, 4860, 5415}));
    EXPECT_FALSE(fake.startupEntry.entry.has_value());
}

TEST_F(WindowsTest, LabelsToggleTheirBoxesAndAClickNeverGreysABox) {
    start("2\r\n5\r\n0\r\nEnglish.lng\r\n2\r\n0\r\n0\r\n3\r\n");  // sound greyed
    OptionsWindow& o = openOptions();
    const std::tuple<const char*, const char*, Qt::CheckState> cases[] = {
        {"soundLabel", "soundBox", Qt::Checked},  // greyed becomes set
        {"startAtLogonLabel", "startAtLogonBox", Qt::Checked},
        {"startAtLogonLabel", "startAtLogonBox", Qt::Unchecked},
        {"rightEdgeLabel", "rightEdgeBox", Qt::Unchecked},  // this label toggles nothing
    };
    for (const auto& [label, box, after] : cases) {
        click(control(o, label));
        EXPECT_EQ(control<QCheckBox>(o, box)->checkState(), after) << label;
    }
    auto* box = control<QCheckBox>(o, "soundBox");
    box->setCheckState(Qt::PartiallyChecked);
    for (Qt::CheckState after : {Qt::Checked, Qt::Unchecked, Qt::Checked}) {
        box->click();
        EXPECT_EQ(box->checkState(), after);
    }
}

TEST_F(WindowsTest, LinksOpenTheirPagesAndMouseSettingsTriesTheDesktopsTools) {
    start();
    OptionsWindow& o = openOptions();
    EXPECT_TRUE(control<QPushButton>(o, "okButton")->autoDefault());
    EXPECT_EQ(o.focusWidget(), control(o, "okButton"));  // Enter confirms
    for (const char* link : {"productPageLink", "addLanguageLink", "donateButton"}) {
        click(control(o, link));
    }
    const std::string site = build::kSiteBase;
    EXPECT_EQ(fake.shell.opened, (std::vector<std::string>{site + "tindro-mouse.html",
                                                           site + "tindro-mouse-languages.html",
                                                           site + "donazioni--donation.html"}));
    fake.shell.desktop = "XFCE";
    fake.shell.startSucceeds = false;  // nothing installed: every tool is tried, silently
    click(control(o, "mouseSettingsLink"));
    ASSERT_GT(fake.shell.started.size(), 1u);
    EXPECT_EQ(fake.shell.started.front(), std::vector<std::string>{"xfce4-mouse-settings"});
}

// A dweller who comes down over a window in a mode that never clicks must get
// the left click back anywhere but on a control, or is trapped there.
TEST_F(WindowsTest, MovingOverAWindowsSurfaceGivesBackTheLeftClick) {
    start();
    bar->runButtonCommand(ClickMode::Exit);
    bar->runButtonCommand(ClickMode::Options);
    for (QWidget* window : std::initializer_list<QWidget*>{&exitWindow(), &options()}) {
        ASSERT_TRUE(window->isVisible());
        for (int y = 1; y < window->height(); y += 6) {
            for (int x = 1; x < window->width(); x += 6) {
                // Qt gives a move to the child under the pointer, or to the window.
                QWidget* under = window->childAt(x, y);
                if (qobject_cast<QAbstractButton*>(under) || qobject_cast<QScrollBar*>(under)) {
                    continue;
                }
                QWidget* target = under != nullptr ? under : window;
                app.clickMode = ClickMode::Pause;
                test::mouse(target, QEvent::MouseMove, target->mapFrom(window, QPointF(x, y)));
                ASSERT_EQ(app.clickMode, ClickMode::LeftClick)
                    << target->objectName().toStdString() << " at " << x << "," << y;
            }
        }
    }
}

TEST_F(WindowsTest, ExitWindowStandsAtItsPlaceWithTheFaceWithoutABox) {
    start();
    ExitWindow& exit = exitWindow();
    EXPECT_EQ(exit.geometry(), QRect(184, 250, 361, 149));
    QWidget* face = control(exit, "face");
    EXPECT_TRUE(face->isHidden());
    EXPECT_EQ(control(exit, "transparentSpot")->geometry(), face->geometry());
    // A magenta corner of the face shows the background picture instead.
    EXPECT_NE(exit.grab().toImage().pixel(face->pos()), qRgb(255, 0, 255));
    EXPECT_EQ(exit.focusWidget(), control(exit, "yesButton"));
}

TEST_F(WindowsTest, AboutWindowTakesTheOptionsWindowsPlaceAndGivesItBack) {
    std::vector<std::string> texts(33, "");
    texts[TextId::About] = "About...";
    texts[TextId::AboutDescription] = "Clicks for you.";
    texts[TextId::AllRightsReserved] = "Thanks";
    texts[TextId::HomePage] = "Home page";
    writeLanguage("English.lng", texts);
    start();
    OptionsWindow& o = openOptions();
    click(control(o, "aboutButton"));
    AboutWindow* about = windows.aboutWindow();
    ASSERT_TRUE(about != nullptr && about->isVisible() && !o.isVisible());
    EXPECT_LE((about->geometry().center() - o.geometry().center()).manhattanLength(), 4);
    EXPECT_EQ(about->windowTitle(), "About");
    EXPECT_EQ(control<QLabel>(*about, "versionLabel")->text(), "Rel. 1.8.1");
    EXPECT_EQ(control<QLabel>(*about, "descriptionLabel")->text(), "Clicks for you.");
    EXPECT_EQ(control<QLabel>(*about, "homePageCaption")->text(), "Home page:");
    // The credits rise from below the window.
    QWidget* credits = control(*about, "creditsPanel");
    const int kCreditsStart = qRound(2200 / 15.0);
    EXPECT_EQ(credits->y(), kCreditsStart);
    QElapsedTimer waited;
    waited.start();
    while (credits->y() == kCreditsStart && waited.elapsed() < 2000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    EXPECT_LT(credits->y(), kCreditsStart);

    about->close();
    EXPECT_TRUE(options().isVisible());
    EXPECT_EQ(windows.aboutWindow(), nullptr);
    // Each opening starts afresh: the suffix is appended once.
    click(control(options(), "aboutButton"));
    EXPECT_TRUE(control<QLabel>(*windows.aboutWindow(), "copyrightLabel")
                    ->text()
                    .endsWith(QString::fromUtf8("authors - Thanks")));
}

TEST_F(WindowsTest, MarkupInTheTextsIsShownAsWritten) {
    const std::string markup =
        "<table><tr><td><table><tr><td><img src=\"x.png\" width=\"3000\">"
        "<span style=\"font-size:200pt\">[*]big</span></td></tr></table></td></tr></table>";
    writeLanguage("English.lng", std::vector<std::string>(33, markup));
    start();
    click(control(openOptions(), "aboutButton"));  // the about window as well
    const QString literal = QString::fromStdString(markup);
    for (QWidget* window : allWindows()) {
        for (QLabel* label : window->findChildren<QLabel*>()) {
            if (label->text().contains(literal)) {
                EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->text().toStdString();
            }
        }
        // Qt shows a tooltip that looks like markup as rich text.
        for (QWidget* w : window->findChildren<QWidget*>()) {
            const QString tip = w->toolTip();
            const QString shown =
                Qt::mightBeRichText(tip) ? QTextDocumentFragment::fromHtml(tip).toPlainText() : tip;
            EXPECT_TRUE(tip.isEmpty() || shown.startsWith(literal)) << tip.toStdString();
        }
    }
    // Window titles keep "[*]", which Qt would otherwise drop.
    for (QWidget* window : {allWindows()[1], allWindows()[3]}) {
        window->show();
        EXPECT_TRUE(window->windowHandle()->title().contains(QStringLiteral("[*]big")));
    }
}

TEST_F(WindowsTest, FirstRunChoosesTheLanguageOfTheLocale) {
    fake.locale.code = "IT";
    writeLanguage("Italiano.lng", {"", "", "Guida"});
    start("");
    EXPECT_EQ(app.settings.languageFile, "Italiano.lng");
    EXPECT_EQ(bar->button(8)->toolTip(), "Guida");
}

TEST_F(WindowsTest, ASecondInstanceEndsBeforeWritingOrCheckingForUpdates) {
    fake.instanceLock.free = false;
    fake.http.bodies[kVersionUrl] = "999999999";
    // The message box is modal; answer it as soon as it shows.
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    EXPECT_FALSE(start(test::kSettings));
    EXPECT_TRUE(fake.http.requests.empty());
    EXPECT_EQ(dir.read(kSettingsFileName), test::kSettings);
}

// The same desktop at 96 dpi and drawn at double size (192 dpi): twips per
// screen pixel halve, and every window keeps its 96-dpi layout in window pixels.
class WindowScaleTest : public WindowsTest, public ::testing::WithParamInterface<double> {};

TEST_P(WindowScaleTest, EveryWindowKeepsItsLayoutAndEveryPictureFillsItsPlaceSharply) {
    const double scale = GetParam();
    fake.screen.scale = scale;
    fake.screen.tpp = 15 / scale;
    start("2\r\n5\r\n0\r\nEnglish.lng\r\n0\r\n1\r\n0\r\n3\r\n");  // with the middle-click button
    click(control(openOptions(), "aboutButton"));
    std::vector<QSize> sizes;
    for (QWidget* window : allWindows()) {
        sizes.push_back(window->size());
        for (const QLabel* place : window->findChildren<QLabel*>()) {
            const QPixmap picture = place->pixmap();
            if (!picture.isNull() && place != bar->background()) {  // a stretched strip
                EXPECT_EQ(picture.deviceIndependentSize().toSize(), place->size());
                EXPECT_EQ(picture.devicePixelRatio(), scale) << place->objectName().toStdString();
            }
        }
    }
    EXPECT_EQ(sizes, (std::vector<QSize>{{45, 411}, {561, 396}, {361, 149}, {425, 238}}));
    // The exit window's face, drawn keyed out.
    auto* face = control<CtlTransparent>(exitWindow(), "transparentSpot");
    EXPECT_EQ(face->image().devicePixelRatio(), scale);
    EXPECT_EQ(face->image().deviceIndependentSize().toSize(), face->size());
}

INSTANTIATE_TEST_SUITE_P(Scales, WindowScaleTest, ::testing::Values(1.0, 2.0));

}  // namespace
}  // namespace tz
