#include "gui/ExitWindow.h"

#include <unistd.h>
#include <QCloseEvent>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

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

Form4::Form4(AppState& app, Platform& platform, ProgramWindows& windows)
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
    Image2 = new QLabel(this);
    Image2->setPixmap(
        scaledPicture(QStringLiteral(":/images/exit/background.jpg"), screen.windowScale()));
    Image2->setGeometry(twipsToPixels(screen, 0, 0, 9780, 2835));
    Image2->setAttribute(Qt::WA_TransparentForMouseEvents);

    Image1 = new QLabel(this);
    Image1->setPixmap(
        scaledPicture(QStringLiteral(":/images/exit/face.bmp"), screen.windowScale()));
    Image1->setGeometry(twipsToPixels(screen, 330, 420, 630, 600));

    ctlTransparent1 = new CtlTransparent(this);
    ctlTransparent1->setGeometry(twipsToPixels(screen, 3210, 660, 660, 630));
    ctlTransparent1->setAttribute(Qt::WA_TransparentForMouseEvents);

    Label1 = new QLabel(QStringLiteral("Label1"), this);
    Label1->setTextFormat(Qt::PlainText);
    Label1->setFont(programFont(QStringLiteral("Arial"), 12));
    setTextColour(Label1, Qt::white);
    Label1->move(twipsToPixelsX(screen, 1200), twipsToPixelsY(screen, 600));
    Label1->setAttribute(Qt::WA_TransparentForMouseEvents);

    const QCursor hand = handCursor();
    Si = dialogButton(this, QStringLiteral("&Si"), twipsToPixels(screen, 1200, 1380, 1395, 525));
    No = dialogButton(this, QStringLiteral("&No"), twipsToPixels(screen, 2850, 1380, 1395, 525));
    Si->setCursor(hand);
    No->setCursor(hand);
    setTabOrder(Si, No);
    Si->setFocus();
    QObject::connect(Si, &QPushButton::clicked, this, [this] { Si_Click(); });
    QObject::connect(No, &QPushButton::clicked, this, [this] { No_Click(); });
}

void Form4::Form_Load() {
    // Step 1: topmost at its place (the window flags keep it above the others).
    // Steps 2 to 5: the face stands on the background without a box around it.
    ctlTransparent1->setGeometry(Image1->geometry());
    ctlTransparent1->setMaskColor(qRgb(255, 0, 255));
    ctlTransparent1->setPicture(Image1->pixmap());
    Image1->hide();
    // Step 6: answered by dwelling, so the left click is in force meanwhile.
    SavedClickMode = app_.ClickMode;
    app_.ClickMode = mode::LeftClick;
}

void Form4::mouseMoveEvent(QMouseEvent* /*event*/) {
    Form_MouseMove();
}

void Form4::Form_MouseMove() {
    app_.ClickMode = mode::LeftClick;
}

void Form4::Form_Unload() {
    app_.ClickMode = SavedClickMode;
}

void Form4::Si_Click() {
    // Ends at once: no window's unload step runs. The settings file is already
    // current, since every change is written when it is made.
    ::_exit(0);
}

void Form4::No_Click() {
    windows_.destroyForm4();
}

void Form4::closeEvent(QCloseEvent* event) {
    event->ignore();
    windows_.destroyForm4();
}

}  // namespace tz
