#include "gui/widgets/WindowLook.h"

#include <QLabel>

#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QTextDocument>
#include <QWidget>
#include <algorithm>

namespace tz {

QPushButton* dialogButton(QWidget* parent, const QString& design, const QRect& geometry) {
    auto* button = new QPushButton(design, parent);
    button->setGeometry(geometry);
    button->setAutoDefault(true);
    button->setAttribute(Qt::WA_NoMousePropagation);
    return button;
}

void makePointerOverlay(QWidget* window) {
    window->setAttribute(Qt::WA_ShowWithoutActivating);
    window->setAttribute(Qt::WA_TransparentForMouseEvents);
    window->setAttribute(Qt::WA_OpaquePaintEvent);
    window->setFocusPolicy(Qt::NoFocus);
}

void setDarkBackground(QWidget* window) {
    QPalette pal = window->palette();
    pal.setColor(QPalette::Window, QColor(64, 64, 64));
    window->setPalette(pal);
    window->setAutoFillBackground(true);
}

QFont programFont(const QString& family, double pointSize, bool bold, bool italic, bool underline) {
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    return font;
}

void setTextColour(QWidget* label, const QColor& colour) {
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
    label->setAutoFillBackground(false);
}

QPixmap scaledPicture(const QString& path, double scale) {
    if (scale > 1) {
        const int dot = static_cast<int>(path.lastIndexOf(QLatin1Char('.')));
        QPixmap doubled(path.left(dot) + QStringLiteral("@2x") + path.mid(dot));
        if (!doubled.isNull()) {
            doubled.setDevicePixelRatio(2);
            return doubled;
        }
    }
    return QPixmap(path);
}

QCursor handCursor() {
    return QCursor(QPixmap(QStringLiteral(":/images/cursors/hand.png")), 9, 1);
}

QCursor smileCursor() {
    return QCursor(QPixmap(QStringLiteral(":/images/cursors/smile.png")), 16, 16);
}

QIcon iconFromPictures(const QString& pattern, std::initializer_list<int> sizes) {
    QIcon icon;
    for (int size : sizes) {
        icon.addPixmap(QPixmap(pattern.arg(size)));
    }
    return icon;
}

QIcon programIcon() {
    return iconFromPictures(QStringLiteral(":/images/icon/icon-%1.png"), {16, 24, 32, 48, 256});
}

QString literalWindowTitle(const QString& title) {
    QString text = title;
    text.replace(QLatin1String("[*]"), QLatin1String("[*][*]"));
    return text;
}

QString literalToolTip(const QString& text) {
    if (!Qt::mightBeRichText(text)) {
        return text;
    }
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() +
           QStringLiteral("</p>");
}

void setAutoSizedText(QLabel* label, const std::string& text) {
    label->setText(QString::fromStdString(text));
    label->adjustSize();
}

void keepShortOf(QWidget* control, const QWidget* next, int gap, int leftmost) {
    const int right = next->x() - gap;
    if (control->x() + control->width() > right) {
        control->move(std::max(leftmost, right - control->width()), control->y());
    }
}

}  // namespace tz
