// The Unicode label and the message box; and the widget tests' main.
#include <QWindow>

#include "gui/UnicodeMessageBox.h"
#include "tests/widget/WindowsFixture.h"
#include "unilabel/UniLabel.h"

namespace tz::test {
namespace {

// The first column, from the left, with a pixel that is not white.
int firstInkColumn(UniLabel& label) {
    const QImage image = label.grab().toImage();
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixelColor(x, y) != Qt::white) {
                return x;
            }
        }
    }
    return -1;
}

TEST(UniLabel, ANewLabelIsLeftAlignedAndAStoredSetWithoutAlignmentOrFontIsNot) {
    fake::FakeEventLog log;
    QWidget container;
    const auto label = [&] {
        return std::make_unique<UniLabel>(HookErrorReporting{log, {}}, &container);
    };
    auto first = label();
    EXPECT_EQ(first->caption(), "UniLabel1");
    EXPECT_EQ(label()->caption(), "UniLabel2");
    first->setGeometry(0, 0, 200, 30);
    first->setColor(rgbColor(255, 255, 255), rgbColor(0, 0, 0));
    EXPECT_LT(firstInkColumn(*first), 10);
    first->setFontBold(true);
    first->readProperties({{"Caption", QByteArray("Hi")},
                           {"BackColor", rgbColor(255, 255, 255)},
                           {"ForeColor", rgbColor(0, 0, 0)}});
    EXPECT_GT(firstInkColumn(*first), 150);      // right-aligned
    EXPECT_EQ(first->font(), container.font());  // the container's font
}

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
