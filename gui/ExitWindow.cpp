#include "gui/ExitWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
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
    background_ = new QLabel(this);
    background_->setPixmap(
        scaledPicture(QStringLiteral(":/images/exit/background.jpg"), screen.windowScale()));
    background_->setGeometry(twipsToPixels(screen, 0, 0, 9780, 2835));
    background_->setAttribute(Qt::WA_TransparentForMouseEvents);

    face_ = new QLabel(this);
    face_->setPixmap(scaledPicture(QStringLiteral(":/images/exit/face.bmp"), screen.windowScale()));
    face_->setGeometry(twipsToPixels(screen, 330, 420, 630, 600));

    transparentSpot_ = new CtlTransparent(this);
    transparentSpot_->setGeometry(twipsToPixels(screen, 3210, 660, 660, 630));
    transparentSpot_->setAttribute(Qt::WA_TransparentForMouseEvents);

    questionLabel_ = new QLabel(QStringLiteral("Do you want to exit?"), this);
    questionLabel_->setTextFormat(Qt::PlainText);
    questionLabel_->setFont(programFont(QStringLiteral("Arial"), 12));
    setTextColour(questionLabel_, Qt::white);
    questionLabel_->move(twipsToPixelsX(screen, 1200), twipsToPixelsY(screen, 600));
    questionLabel_->setAttribute(Qt::WA_TransparentForMouseEvents);

    const QCursor hand = handCursor();
    yesButton_ =
        dialogButton(this, QStringLiteral("&Yes"), twipsToPixels(screen, 1200, 1380, 1395, 525));
    noButton_ =
        dialogButton(this, QStringLiteral("&No"), twipsToPixels(screen, 2850, 1380, 1395, 525));
    yesButton_->setCursor(hand);
    noButton_->setCursor(hand);
    setTabOrder(yesButton_, noButton_);
    yesButton_->setFocus();
    // Names by role, for tests and for accessibility and automation tools.
    const std::pair<QWidget*, const char*> names[] = {{background_, "background"},
                                                      {face_, "face"},
                                                      {transparentSpot_, "transparentSpot"},
                                                      {questionLabel_, "questionLabel"},
                                                      {yesButton_, "yesButton"},
                                                      {noButton_, "noButton"}};
    for (const auto& [widget, name] : names) {
        widget->setObjectName(QLatin1String(name));
    }
    QObject::connect(yesButton_, &QPushButton::clicked, this, [this] { accept(); });
    QObject::connect(noButton_, &QPushButton::clicked, this, [this] { reject(); });
}

void ExitWindow::load() {
    // Topmost at its place (the window flags keep it above the others).
    // The face stands on the background without a box around it.
    transparentSpot_->setGeometry(face_->geometry());
    transparentSpot_->setMaskColor(qRgb(255, 0, 255));
    transparentSpot_->setPicture(face_->pixmap());
    face_->hide();
    // Answered by dwelling, so the left click is in force meanwhile.
    app_.clickMode = ClickMode::LeftClick;
}

void ExitWindow::retranslate(const TextTable& t) {
    setWindowTitle(literalWindowTitle(QString::fromStdString(t[TextId::ExitTitle])));
    setAutoSizedText(questionLabel_, t[TextId::ExitQuestion]);
    SetWindowTextUnicode(yesButton_, t[TextId::YesCaption]);
    SetWindowTextUnicode(noButton_, t[TextId::NoCaption]);
}

void ExitWindow::mouseMoveEvent(QMouseEvent* /*event*/) {
    forceLeftClick();
}

void ExitWindow::forceLeftClick() {
    app_.clickMode = ClickMode::LeftClick;
}

void ExitWindow::accept() {
    // Ends every event loop, nested ones too, whatever is open; the platform
    // then lets go of what it holds (KWin's script, a held button). The
    // settings file is already current, since every change is written when it
    // is made.
    QCoreApplication::exit(0);
}

void ExitWindow::reject() {
    windows_.destroyExitWindow();
}

void ExitWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    windows_.destroyExitWindow();
}

}  // namespace tz
