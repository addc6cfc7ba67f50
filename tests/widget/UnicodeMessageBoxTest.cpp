// The message box built from a style value, its owner and its result, and the
// button caption routine.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include "gui/UnicodeMessageBox.h"

namespace tz {
namespace {

// Runs `action` on the modal box once it is open.
void whenBoxOpens(std::function<void(QMessageBox&)> action) {
    QTimer::singleShot(0, [action] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        action(*box);
    });
}

TEST(UnicodeMessageBox, ExclamationWithOk) {
    auto box = buildUnicodeMessageBox("Già in esecuzione", 48, "Tindro", "", nullptr);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
    EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Ok));
    EXPECT_EQ(box->icon(), QMessageBox::Warning);
    EXPECT_EQ(box->text(), QString::fromUtf8("Già in esecuzione"));
    EXPECT_TRUE(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(box->isVisible());
}

TEST(UnicodeMessageBox, InformationWithYesNoAndDefaults) {
    auto box = buildUnicodeMessageBox("a\r\nb\rc<BR>d", 68, "", "", nullptr);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Yes));
    EXPECT_EQ(box->icon(), QMessageBox::Information);
    EXPECT_EQ(box->text(), "a\nb\nc<BR>d");
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_EQ(box->windowTitle(), "Tindro Zevad Free");

    box = buildUnicodeMessageBox("", 0x104, "x", "", nullptr);
    EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
    EXPECT_EQ(buildUnicodeMessageBox("", 9, "x", "", nullptr), nullptr);

    // Qt would drop "[*]" from a window title.
    box = buildUnicodeMessageBox("", 0, "Νέα έκδοση [*] 2", "", nullptr);
    box->winId();
    EXPECT_EQ(box->windowHandle()->title(), QString::fromUtf8("Νέα έκδοση [*] 2"));
}

TEST(UnicodeMessageBox, IconNameShowsAUserIcon) {
    auto box = buildUnicodeMessageBox("", 68, "", "APPICON", nullptr);
    EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
    EXPECT_EQ(box->iconPixmap().size(), QSize(48, 48));
    EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);

    box = buildUnicodeMessageBox("", 0, "", ":/images/icon/icon-16.png", nullptr);
    EXPECT_EQ(box->iconPixmap().size(), QSize(16, 16));
}

TEST(UnicodeMessageBox, OwnerRule) {
    quintptr owner = 0;
    ASSERT_EQ(QApplication::activeWindow(), nullptr);
    EXPECT_EQ(resolveMessageBoxOwner(owner), nullptr);
    EXPECT_EQ(owner, 0u);

    QWidget window;
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_EQ(QApplication::activeWindow(), &window);
    EXPECT_EQ(resolveMessageBoxOwner(owner), &window);
    EXPECT_EQ(owner, static_cast<quintptr>(window.winId()));

    QWidget other;
    quintptr given = static_cast<quintptr>(other.winId());
    EXPECT_EQ(resolveMessageBoxOwner(given), &other);
    EXPECT_EQ(given, static_cast<quintptr>(other.winId()));
    QApplication::setActiveWindow(nullptr);
}

TEST(UnicodeMessageBox, ReturnsTheNumberOfTheChosenButton) {
    quintptr owner = 0;
    whenBoxOpens([](QMessageBox& box) { box.button(QMessageBox::No)->click(); });
    EXPECT_EQ(UnicodeMessageBox("?", 68, "", "", owner), 7);

    whenBoxOpens([](QMessageBox& box) { box.button(QMessageBox::Ignore)->click(); });
    EXPECT_EQ(UnicodeMessageBox("?", 2, "", "", owner), 5);

    EXPECT_EQ(UnicodeMessageBox("?", 9, "", "", owner), 0);  // unknown buttons: not shown
}

TEST(UnicodeMessageBox, OwnerDestroyedWhileOpenGivesZero) {
    auto* window = new QWidget;
    quintptr owner = static_cast<quintptr>(window->winId());
    QTimer::singleShot(0, [window] { delete window; });
    EXPECT_EQ(UnicodeMessageBox("?", 0, "", "", owner), 0);
}

TEST(SetWindowTextUnicode, SetsTheCaption) {
    SetWindowTextUnicode(nullptr, "ignored");
    QPushButton button("&Ok");
    SetWindowTextUnicode(&button, "&Ναι");
    EXPECT_EQ(button.text(), QString::fromUtf8("&Ναι"));
    SetWindowTextUnicode(&button, "");
    EXPECT_EQ(button.text(), "");
}

}  // namespace
}  // namespace tz
