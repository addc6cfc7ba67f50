// The message box built from a style value, its owner and its result; and the
// widget tests' main.
#include "gui/UnicodeMessageBox.h"

#include <QWindow>

#include "tests/widget/WindowsFixture.h"

namespace tz::test {
namespace {

TEST(UnicodeMessageBox, TheStyleChoosesTheButtonsTheDefaultAndTheIcon) {
    using B = QMessageBox;
    const std::tuple<std::uint32_t, B::StandardButtons, B::StandardButton, B::Icon> cases[] = {
        {48, B::Ok, B::Ok, B::Warning},
        {68, B::Yes | B::No, B::Yes, B::Information},
        {0x104, B::Yes | B::No, B::No, B::NoIcon},
    };
    for (const auto& [style, buttons, defaultButton, icon] : cases) {
        auto box = buildUnicodeMessageBox("a\r\nb\rc<BR>d", style, "Νέα [*] 2", "", nullptr);
        EXPECT_EQ(box->standardButtons(), buttons);
        EXPECT_EQ(box->defaultButton(), box->button(defaultButton));
        EXPECT_EQ(box->icon(), icon);
        EXPECT_EQ(box->text(), "a\nb\nc<BR>d");
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        EXPECT_TRUE(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        box->winId();  // Qt would drop "[*]" from a window title
        EXPECT_EQ(box->windowHandle()->title(), QString::fromUtf8("Νέα [*] 2"));
    }
    EXPECT_EQ(buildUnicodeMessageBox("", 9, "x", "", nullptr), nullptr);  // unknown buttons
    EXPECT_EQ(buildUnicodeMessageBox("", 0, "", "", nullptr)->windowTitle(), "Tindro Zevad Free");
    EXPECT_EQ(buildUnicodeMessageBox("", 68, "", "APPICON", nullptr)->iconPixmap().size(),
              QSize(48, 48));
}

TEST(UnicodeMessageBox, AnswersTheChosenButtonsNumberOrZeroWhenTheOwnerEnds) {
    quintptr owner = 0;
    QWidget window;
    window.show();
    QApplication::setActiveWindow(&window);
    EXPECT_EQ(resolveMessageBoxOwner(owner), &window);  // none given: the active window
    EXPECT_EQ(owner, static_cast<quintptr>(window.winId()));
    QApplication::setActiveWindow(nullptr);
    std::vector<int> answers;
    for (const auto& [style, button] : {std::pair{68, QMessageBox::No}, {2, QMessageBox::Ignore}}) {
        QTimer::singleShot(0, [button] {
            qobject_cast<QMessageBox*>(QApplication::activeModalWidget())->button(button)->click();
        });
        answers.push_back(UnicodeMessageBox("?", style, "", "", owner));
    }
    auto* doomed = new QWidget;
    owner = static_cast<quintptr>(doomed->winId());
    QTimer::singleShot(0, [doomed] { delete doomed; });
    answers.push_back(UnicodeMessageBox("?", 0, "", "", owner));
    EXPECT_EQ(answers, (std::vector<int>{7, 5, 0}));
}

}  // namespace
}  // namespace tz::test

int main(int argc, char** argv) {
    // The windows are tested without a display unless one is asked for.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("QT_XCB_GL_INTEGRATION", "none", 0);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
