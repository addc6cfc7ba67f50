#pragma once
#include <QColor>
#include <QCursor>
#include <QFont>
#include <QIcon>
#include <QString>
#include <initializer_list>
#include <string>

class QPushButton;
class QRect;
class QWidget;

class QLabel;

namespace tz {

// The look the program's windows share.

// The options, exit and about windows: above every other window, with a title
// and a close box but no minimise or maximise box.
inline constexpr Qt::WindowFlags kDialogWindowFlags =
    Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
    Qt::WindowCloseButtonHint;

// The windows shown beside the pointer (the countdown ring, the scroll pad):
// above everything, unmanaged, and never taking the focus or a pointer event,
// so that the click or wheel step goes to the window beneath.
inline constexpr Qt::WindowFlags kPointerOverlayFlags =
    Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
    Qt::WindowDoesNotAcceptFocus | Qt::X11BypassWindowManagerHint | Qt::WindowStaysOnTopHint;
// What such a window sets on itself besides its flags; it paints every pixel
// inside its mask.
void makePointerOverlay(QWidget* window);

// A push button that Enter presses while it has the focus, and whose pointer
// movement stays its own.
QPushButton* dialogButton(QWidget* parent, const QString& design, const QRect& geometry);

// Dark grey RGB(64, 64, 64) behind the window's controls.
void setDarkBackground(QWidget* window);
// A font by family and point size; the desktop substitutes a missing family.
QFont programFont(const QString& family, double pointSize, bool bold = false, bool italic = false,
                  bool underline = false);
// Text colour of a label, on a transparent background.
void setTextColour(QWidget* label, const QColor& colour);
// The picture at `path` for windows drawn at `scale` screen pixels per window
// pixel. Above 1 it is the double-size rendering beside it (the same name
// with "@2x" before the extension) when there is one, so that it stays sharp;
// either way it covers the same window pixels.
QPixmap scaledPicture(const QString& path, double scale);
// The pointing hand over everything that can be acted on.
QCursor handCursor();
// The smiling face over the donation picture.
QCursor smileCursor();
// An icon from pictures of several sizes; `pattern` holds %1 for the size.
QIcon iconFromPictures(const QString& pattern, std::initializer_list<int> sizes);
// The program's own icon.
QIcon programIcon();

// Texts from language files are shown as written, never read as markup.
// A window title: Qt reads "[*]" as the modified-document marker and drops
// it; doubled, it shows as written.
QString literalWindowTitle(const QString& title);
// A tooltip: Qt lays out a tooltip as rich text when it looks like markup;
// such a text is given escaped, so that it reads as written, on lines as written.
QString literalToolTip(const QString& text);

// Gives a label a text (UTF-8) and sizes the label to it.
void setAutoSizedText(QLabel* label, const std::string& text);

// Moves `control` to the left, when it reaches too far, so that it ends `gap`
// pixels before `next` begins, but never further left than `leftmost`: a text
// longer than its place grows into the free room on its left rather than
// under its neighbour.
void keepShortOf(QWidget* control, const QWidget* next, int gap, int leftmost);

}  // namespace tz
