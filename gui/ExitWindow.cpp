#include "gui/ExitWindow.h"

#include <unistd.h>
#include <QCloseEvent>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include "gui/UnicodeMessageBox.h"
#include "gui/WindowManager.h"
#include "gui/widgets/CtlTransparent.h"
#include "gui/widgets/Twips.h"
#include "gui/widgets/WindowLook.h"

namespace tz {

namespace {

constexpr double kLeft = 2760;
constexpr double kTop = 3750;
constexpr double kClientWidth = 5415;
constexpr double kClientHeight = 2235;

}  // namespace

ExitWindow::ExitWindow(AppState& app, Platform& platform, WindowManager& windows)
    : QWidget(nullptr, kDialogWindowFlags), app_(app), windows_(windows) {
    ScreenMetrics& screen = platform.screen;
    setDarkBackground(this);
    setMouseTracking(true);
    setWindowIcon(iconFromPictures(QStringLiteral(":/images/exit/icon-%1.png"), {16, 24, 32}));
    const QRect client = twipsToPixels(screen, kLeft, kTop, kClientWidth, kClientHeight);
    setFixedSize(client.size());
    move(client.topLeft());

    // The background picture, the face and the question are drawn on the
    // window's surface: the pointer over them is over the window, so that
    // moving anywhere but onto a button gives back the left click.
    background = new QLabel(this);
    background->setPixmap(
        scaledPicture(QStringLiteral(":/images/exit/background.jpg"), screen.windowScale()));
    background->setGeometry(twipsToPixels(screen, 0, 0, 9780, 2835));
    background->setAttribute(Qt::WA_TransparentForMouseEvents);

    face = new QLabel(this);
    face->setPixmap(scaledPicture(QStringLiteral(":/images/exit/face.bmp"), screen.windowScale()));
    face->setGeometry(twipsToPixels(screen, 330, 420, 630, 600));

    transparentSpot = new CtlTransparent(this);
    transparentSpot->setGeometry(twipsToPixels(screen, 3210, 660, 660, 630));
    transparentSpot->setAttribute(Qt::WA_TransparentForMouseEvents);

    questionLabel = new QLabel(QStringLiteral("Do you want to exit?"), this);
    questionLabel->setTextFormat(Qt::PlainText);
    questionLabel->setFont(programFont(QStringLiteral("Arial"), 12));
    setTextColour(questionLabel, Qt::white);
    questionLabel->move(twipsToPixelsX(screen, 1200), twipsToPixelsY(screen, 600));
    questionLabel->setAttribute(Qt::WA_TransparentForMouseEvents);

    const QCursor hand = handCursor();
    yesButton =
        dialogButton(this, QStringLiteral("&Yes"), twipsToPixels(screen, 1200, 1380, 1395, 525));
    noButton =
        dialogButton(this, QStringLiteral("&No"), twipsToPixels(screen, 2850, 1380, 1395, 525));
    yesButton->setCursor(hand);
    noButton->setCursor(hand);
    setTabOrder(yesButton, noButton);
    yesButton->setFocus();
    QObject::connect(yesButton, &QPushButton::clicked, this, [this] { accept(); });
    QObject::connect(noButton, &QPushButton::clicked, this, [this] { reject(); });
}

void ExitWindow::load() {
    // Topmost at its place (the window flags keep it above the others).
    // The face stands on the background without a box around it.
    transparentSpot->setGeometry(face->geometry());
    transparentSpot->setMaskColor(qRgb(255, 0, 255));
    transparentSpot->setPicture(face->pixmap());
    face->hide();
    // Answered by dwelling, so the left click is in force meanwhile.
    savedClickMode = app_.clickMode;
    app_.clickMode = ClickMode::LeftClick;
}

void ExitWindow::retranslate(const TextTable& t) {
    setWindowTitle(literalWindowTitle(QString::fromStdString(t[TextId::ExitTitle])));
    setAutoSizedText(questionLabel, t[TextId::ExitQuestion]);
    SetWindowTextUnicode(yesButton, t[TextId::YesCaption]);
    SetWindowTextUnicode(noButton, t[TextId::NoCaption]);
}

void ExitWindow::mouseMoveEvent(QMouseEvent* /*event*/) {
    forceLeftClick();
}

void ExitWindow::forceLeftClick() {
    app_.clickMode = ClickMode::LeftClick;
}

void ExitWindow::unload() {
    app_.clickMode = savedClickMode;
}

void ExitWindow::accept() {
    // Ends at once: no window's unload step runs. The settings file is already
    // current, since every change is written when it is made.
    ::_exit(0);
}

void ExitWindow::reject() {
    windows_.destroyExitWindow();
}

void ExitWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    windows_.destroyExitWindow();
}

}  // namespace tz
