#include "gui/UnicodeMessageBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include "core/MessageBoxStyle.h"
#include "gui/widgets/WindowLook.h"

namespace tz {

namespace {

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QMessageBox::StandardButton standardButton(MessageBoxButton button) {
    switch (button) {
        case MessageBoxButton::Ok:
            return QMessageBox::Ok;
        case MessageBoxButton::Cancel:
            return QMessageBox::Cancel;
        case MessageBoxButton::Abort:
            return QMessageBox::Abort;
        case MessageBoxButton::Retry:
            return QMessageBox::Retry;
        case MessageBoxButton::Ignore:
            return QMessageBox::Ignore;
        case MessageBoxButton::Yes:
            return QMessageBox::Yes;
        case MessageBoxButton::No:
            return QMessageBox::No;
    }
    return QMessageBox::NoButton;
}

QMessageBox::Icon standardIcon(MessageBoxIcon icon) {
    switch (icon) {
        case MessageBoxIcon::Critical:
            return QMessageBox::Critical;
        case MessageBoxIcon::Question:
            return QMessageBox::Question;
        case MessageBoxIcon::Warning:
            return QMessageBox::Warning;
        case MessageBoxIcon::Information:
            return QMessageBox::Information;
        case MessageBoxIcon::None:
        case MessageBoxIcon::User:
            break;
    }
    return QMessageBox::NoIcon;
}

// A resource picture named by the caller, else the program's icon.
QPixmap userIcon(const std::string& iconName) {
    const QString name = fromUtf8(iconName);
    if (name.startsWith(QLatin1String(":/"))) {
        QPixmap named(name);
        if (!named.isNull()) {
            return named;
        }
    }
    return QPixmap(QString::fromLatin1(kMessageBoxUserIcon));
}

QString withLineBreaks(const std::string& prompt) {
    QString text = fromUtf8(prompt);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

}  // namespace

std::unique_ptr<QMessageBox> buildUnicodeMessageBox(const std::string& prompt, std::uint32_t style,
                                                    const std::string& title,
                                                    const std::string& iconName, QWidget* owner) {
    const MessageBoxLayout layout = messageBoxLayout(style, !iconName.empty());
    if (layout.buttons.empty()) {
        return nullptr;
    }
    auto box = std::make_unique<QMessageBox>(owner);
    box->setWindowTitle(literalWindowTitle(fromUtf8(messageBoxTitle(title))));
    // Texts come from language files and the network: never markup.
    box->setTextFormat(Qt::PlainText);
    box->setText(withLineBreaks(prompt));
    if (layout.icon == MessageBoxIcon::User) {
        box->setIconPixmap(userIcon(iconName));
    } else {
        box->setIcon(standardIcon(layout.icon));
    }
    for (const MessageBoxButton button : layout.buttons) {
        box->addButton(standardButton(button));
    }
    box->setDefaultButton(standardButton(layout.buttons[layout.defaultButton]));
    box->setWindowModality(Qt::ApplicationModal);
    // Operated by dwelling, so it must never slip under the always-on-top bar.
    box->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    return box;
}

QWidget* resolveMessageBoxOwner(quintptr& owner) {
    if (owner == 0) {
        QWidget* active = QApplication::activeWindow();
        if (active) {
            owner = static_cast<quintptr>(active->winId());
        }
        return active;
    }
    QWidget* found = QWidget::find(static_cast<WId>(owner));
    return found ? found->window() : nullptr;
}

int unicodeMessageBoxResult(const QMessageBox& box) {
    switch (box.standardButton(box.clickedButton())) {
        case QMessageBox::Ok:
            return messageBoxResult(MessageBoxButton::Ok);
        case QMessageBox::Cancel:
            return messageBoxResult(MessageBoxButton::Cancel);
        case QMessageBox::Abort:
            return messageBoxResult(MessageBoxButton::Abort);
        case QMessageBox::Retry:
            return messageBoxResult(MessageBoxButton::Retry);
        case QMessageBox::Ignore:
            return messageBoxResult(MessageBoxButton::Ignore);
        case QMessageBox::Yes:
            return messageBoxResult(MessageBoxButton::Yes);
        case QMessageBox::No:
            return messageBoxResult(MessageBoxButton::No);
        default:
            return 0;
    }
}

int UnicodeMessageBox(const std::string& prompt, std::uint32_t style, const std::string& title,
                      const std::string& iconName, quintptr& owner) {
    QWidget* parent = resolveMessageBoxOwner(owner);
    std::unique_ptr<QMessageBox> built =
        buildUnicodeMessageBox(prompt, style, title, iconName, parent);
    if (!built) {
        return 0;
    }
    // The owner may be destroyed while the box is open (timers keep running),
    // taking its child box with it; the guard notices.
    QPointer<QMessageBox> box = built.release();
    box->exec();
    if (!box) {
        return 0;
    }
    const int result = unicodeMessageBoxResult(*box);
    delete box.data();
    return result;
}

void SetWindowTextUnicode(QAbstractButton* control, const std::string& text) {
    if (control) {
        control->setText(fromUtf8(text));
    }
}

HookErrorReporting withUnicodeMessageBox(EventLog& log) {
    return HookErrorReporting{log, UnicodeMessageBox};
}

}  // namespace tz
