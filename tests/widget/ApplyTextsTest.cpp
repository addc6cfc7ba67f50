#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTextDocumentFragment>
#include <QTimer>
#include <QWindow>

#include "core/i18n/LanguageFile.h"
#include "gui/AboutWindow.h"
#include "gui/ApplyTexts.h"
#include "gui/widgets/ClickableLabel.h"
#include "tests/widget/WindowManagerFixture.h"

namespace tz {
namespace {

using ApplyTextsTest = test::WindowManagerTest;

// Every text ApplyTexts sets, in one string, to compare whole states.
std::string allTexts(WindowManager& w) {
    std::string out;
    const auto add = [&out](const QString& text) { out += text.toStdString() + "|"; };
    for (int i = 0; i < ClickBar::kButtonCount; ++i) {
        add(w.bar().button(i)->toolTip());
    }
    w.makeOptionsWindow();
    OptionsWindow& o = *w.optionsWindow();
    add(o.windowTitle());
    for (QLabel* l :
         {static_cast<QLabel*>(o.toleranceLabel), static_cast<QLabel*>(o.delayLabel),
          static_cast<QLabel*>(o.startAtLogonLabel), static_cast<QLabel*>(o.languageLink),
          static_cast<QLabel*>(o.soundLabel), static_cast<QLabel*>(o.middleButtonLabel),
          static_cast<QLabel*>(o.addLanguageLink), static_cast<QLabel*>(o.productPageLink),
          static_cast<QLabel*>(o.mouseSettingsLink), static_cast<QLabel*>(o.rightEdgeLabel)}) {
        add(l->text());
    }
    add(o.aboutButton->toolTip());
    add(o.okButton->text());
    add(o.cancelButton->text());
    add(o.donateButton->toolTip());
    w.makeExitWindow();
    ExitWindow& e = *w.exitWindow();
    add(e.windowTitle());
    add(e.questionLabel->text());
    add(e.yesButton->text());
    add(e.noButton->text());
    return out;
}

TEST_F(ApplyTextsTest, AnEmptyTableLeavesOnlyTheFixedParts) {
    start();  // no language file at all
    EXPECT_EQ(allTexts(windows),
              "|||||||...||"                  // bar tooltips
              "|"                             // options title
              " (0 - 10)| (2 - 20)|||||||||"  // labels 3 to 14
              "||||"                          // about button tip, buttons, donation tip
              "||||");                        // exit window
}

TEST_F(ApplyTextsTest, EveryPlaceTakesItsEntryAndASecondApplyChangesNothing) {
    std::vector<std::string> texts;
    for (int i = 0; i < 33; ++i) {
        texts.push_back("T" + std::to_string(i));
    }
    writeLanguage("English.lng", texts);
    start();
    const std::string once = allTexts(windows);
    EXPECT_EQ(once,
              "T12|T22|T9|T8|T10|T6|T7|T13...|T2|T13|"
              "T14 (0 - 10)|T15 (2 - 20)|T16|T17|T18|T23|T24|T25|T28|T30|"
              "T11|T4|T5|T3|T12|T19|T20|T21|");
    ApplyTexts(windows);
    EXPECT_EQ(allTexts(windows), once);
}

TEST_F(ApplyTextsTest, MarkupInTheTextsIsShownAsWritten) {
    const std::string markup =
        "<table><tr><td><table><tr><td><img src=\"x.png\" width=\"3000\">"
        "<span style=\"font-size:200pt\">[*]big</span></td></tr></table></td></tr></table>";
    writeLanguage("English.lng", std::vector<std::string>(33, markup));
    start();
    bar->runButtonCommand(ClickMode::Options);
    madeOptionsWindow().showAbout();  // the about window as well
    ASSERT_NE(windows.aboutWindow(), nullptr);
    const QString literal = QString::fromStdString(markup);
    for (QWidget* window : std::initializer_list<QWidget*>{
             &windows.bar(), &madeOptionsWindow(), &madeExitWindow(), windows.aboutWindow()}) {
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
    for (QWidget* window :
         std::initializer_list<QWidget*>{&madeOptionsWindow(), windows.aboutWindow()}) {
        window->show();
        ASSERT_NE(window->windowHandle(), nullptr);
        EXPECT_TRUE(window->windowHandle()->title().contains(QStringLiteral("[*]big")))
            << window->windowHandle()->title().toStdString();
    }
}

TEST_F(ApplyTextsTest, AShorterFileKeepsThePreviousLanguagesLaterTexts) {
    writeLanguage("English.lng", std::vector<std::string>(33, "old"));
    writeLanguage("Short.lng", {"new", "new", "new", "new", "new"});
    start();
    ASSERT_TRUE(LoadLanguageFile(app.texts, dir.file("Lang/Short.lng"), LoadMode::Picker));
    ApplyTexts(windows);
    EXPECT_EQ(madeOptionsWindow().okButton->text(), "new");      // entry 4
    EXPECT_EQ(madeOptionsWindow().cancelButton->text(), "old");  // entry 5
    EXPECT_EQ(windows.bar().button(8)->toolTip(), "new");        // entry 2
}

TEST_F(ApplyTextsTest, StartUpCreatesBothWindowsHiddenInTheOrderThatDecidesTheModes) {
    start();
    ASSERT_TRUE(windows.optionsWindow() != nullptr);
    ASSERT_TRUE(windows.exitWindow() != nullptr);
    EXPECT_FALSE(madeOptionsWindow().isVisible());
    EXPECT_FALSE(madeExitWindow().isVisible());
    // The exit window was created inside the options window's load step,
    // before anything had set the click mode.
    EXPECT_EQ(madeExitWindow().savedClickMode, ClickMode::Exit);
    EXPECT_EQ(madeOptionsWindow().savedClickMode, ClickMode::LeftClick);
    EXPECT_EQ(app.clickMode, ClickMode::LeftClick);  // then the saved start mode, through the bar
}

TEST_F(ApplyTextsTest, FirstRunChoosesTheLanguageOfTheLocale) {
    fake.locale.code = "IT";
    writeLanguage("Italiano.lng", {"", "", "Guida"});
    start("");
    EXPECT_EQ(app.settings.languageFile, "Italiano.lng");
    EXPECT_EQ(windows.bar().button(8)->toolTip(), "Guida");
    // A stored name, even of a missing file, is never replaced.
    start("2\r\n5\r\n0\r\nKlingon.lng\r\n0\r\n0\r\n0\r\n3\r\n");
    EXPECT_EQ(app.settings.languageFile, "Klingon.lng");
}

TEST_F(ApplyTextsTest, ASecondInstanceEndsBeforeWritingOrCheckingForUpdates) {
    fake.instanceLock.free = false;
    fake.http.bodies["http://127.0.0.1:1/"] = "999999999";
    const std::string before = "2\r\n5\r\n0\r\nEnglish.lng\r\n0\r\n0\r\n0\r\n5\r\n";
    dir.write(kSettingsFileName, before);
    app.settingsPath = dir.file(kSettingsFileName);
    fake.programFolder.path = dir.path();
    bar = std::make_unique<ClickBar>(app, fake.platform, windows, windows, "http://127.0.0.1:1/");
    windows.setBar(bar.get());
    // The message box is modal; answer it as soon as it shows.
    QTimer::singleShot(0, [] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(w)) {
                box->accept();
            }
        }
    });
    EXPECT_FALSE(bar->load());
    EXPECT_TRUE(fake.http.requests.empty());
    EXPECT_EQ(dir.read(kSettingsFileName), before);
}

}  // namespace
}  // namespace tz
