#include "gui/AboutWindow.h"

#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "BuildConfig.h"
#include "core/about/AboutTexts.h"
#include "gui/UnicodeMessageBox.h"
#include "gui/WindowManager.h"
#include "gui/widgets/ClickableLabel.h"
#include "gui/widgets/Twips.h"
#include "gui/widgets/WindowLook.h"

namespace tz {

namespace {

constexpr double kClientWidth = 6375;
constexpr double kClientHeight = 3570;
constexpr int kScrollInterval = 10;
const char* const kCopyright = "\u00a9 2026 The Tindro Zevad authors";

}  // namespace

AboutWindow::AboutWindow(AppState& app, Platform& platform, WindowManager& windows)
    : QWidget(nullptr, kDialogWindowFlags), app_(app), platform_(platform), windows_(windows) {
    ScreenMetrics& screen = platform.screen;
    setDarkBackground(this);
    setWindowIcon(programIcon());
    setFixedSize(twipsToPixels(screen, 0, 0, kClientWidth, kClientHeight).size());
    const auto place = [&screen](QWidget* w, double l, double t, double wd, double h) {
        w->setGeometry(twipsToPixels(screen, l, t, wd, h));
    };
    const auto text = [this](QWidget* parent, double pointSize, bool bold) {
        auto* label = new QLabel(parent);
        label->setTextFormat(Qt::PlainText);  // texts from language files, as written
        label->setFont(programFont(QStringLiteral("Arial"), pointSize, bold));
        setTextColour(label, Qt::white);
        return label;
    };

    titlePicture_ = new QLabel(this);
    titlePicture_->setPixmap(
        scaledPicture(QStringLiteral(":/images/about/title.png"), screen.windowScale()));
    place(titlePicture_, 0, 0, 1155, 1125);
    titleLabel_ = text(this, 14, true);
    titleLabel_->setText(QStringLiteral("Tindro Zevad Free"));
    place(titleLabel_, 1215, 330, 3180, 375);  // clear of the title picture
    versionLabel_ = text(this, 8, false);
    place(versionLabel_, 4800, 510, 720, 195);
    versionLabel_->resize(versionLabel_->width() * 2,
                          versionLabel_->height());  // room for larger fonts
    separatorLine_ = new QFrame(this);
    separatorLine_->setFrameShape(QFrame::HLine);
    place(separatorLine_, -60, 1140, 6495, 25);

    creditsViewport_ = new QWidget(this);
    place(creditsViewport_, 210, 1170, 5940, 2235);
    creditsPanel_ = new QWidget(creditsViewport_);
    descriptionLabel_ = text(creditsPanel_, 10, false);
    descriptionLabel_->setWordWrap(true);
    descriptionLabel_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    place(descriptionLabel_, 900, 0, 3945, 1275);  // room for five lines
    copyrightLabel_ = text(creditsPanel_, 9, false);
    copyrightLabel_->setWordWrap(true);
    copyrightLabel_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    copyrightLabel_->setText(QString::fromUtf8(kCopyright));
    place(copyrightLabel_, 690, 1320, 4380, 435);
    picture_ = new QLabel(creditsPanel_);
    picture_->setPixmap(
        scaledPicture(QStringLiteral(":/images/about/picture.png"), screen.windowScale()));
    picture_->setAlignment(Qt::AlignCenter);
    place(picture_, 1740, 2040, 2250, 1800);
    homePageLink_ = new ClickableLabel(creditsPanel_);
    homePageLink_->setTextFormat(Qt::PlainText);
    homePageLink_->setFont(programFont(QStringLiteral("Arial"), 9, false, false, true));
    setTextColour(homePageLink_, QColor(121, 165, 238));
    homePageLink_->setText(QString::fromUtf8(build::kSiteBase));
    homePageLink_->setCursor(handCursor());
    homePageLink_->onClick = [this] { openHomePage(); };
    homePageLink_->accessibleRole = QAccessible::Link;
    place(homePageLink_, 1860, 3840, 3255, 255);
    homePageCaption_ = text(creditsPanel_, 8, false);
    place(homePageCaption_, 720, 3870, 1050, 195);
    // A close control in the corner, for those who cannot reach the close box
    // or press Esc: resting on it clicks it, as on the options window's buttons.
    closeButton_ =
        dialogButton(this, QStringLiteral("&OK"), twipsToPixels(screen, 5280, 45, 1005, 450));
    closeButton_->setCursor(handCursor());
    QObject::connect(closeButton_, &QPushButton::clicked, this, [this] { close(); });

    // Names by role, for tests and for accessibility and automation tools.
    const std::pair<QWidget*, const char*> names[] = {{titlePicture_, "titlePicture"},
                                                      {titleLabel_, "titleLabel"},
                                                      {versionLabel_, "versionLabel"},
                                                      {separatorLine_, "separatorLine"},
                                                      {creditsViewport_, "creditsViewport"},
                                                      {creditsPanel_, "creditsPanel"},
                                                      {descriptionLabel_, "descriptionLabel"},
                                                      {copyrightLabel_, "copyrightLabel"},
                                                      {picture_, "picture"},
                                                      {homePageLink_, "homePageLink"},
                                                      {homePageCaption_, "homePageCaption"},
                                                      {closeButton_, "closeButton"}};
    for (const auto& [widget, name] : names) {
        widget->setObjectName(QLatin1String(name));
    }

    scrollTimer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&scrollTimer_, &QTimer::timeout, this, [this] { onScrollTick(); });
}

void AboutWindow::load() {
    scrollTimer_.start(kScrollInterval);
    scroll_.reset();
    placePanel();
}

void AboutWindow::open(const QPoint& centre) {
    const TextTable& t = app_.texts;
    setWindowTitle(literalWindowTitle(QString::fromStdString(aboutWindowTitle(t[TextId::About]))));
    scroll_.reset();
    placePanel();
    versionLabel_->setText(QString::fromStdString(
        releaseLabel(build::kVersionMajor, build::kVersionMinor, build::kVersionRevision)));
    descriptionLabel_->setText(QString::fromStdString(t[TextId::AboutDescription]));
    homePageCaption_->setText(QString::fromStdString(t[TextId::HomePage] + ":"));
    homePageCaption_->adjustSize();
    keepShortOf(homePageCaption_, homePageLink_, twipsToPixelsX(platform_.screen, 60), 0);
    homePageLink_->setAccessibleName(QString::fromStdString(t[TextId::HomePage]));
    homePageLink_->setAccessibleDescription(homePageLink_->text());
    SetWindowTextUnicode(closeButton_, t[TextId::OkCaption]);
    // From the built-in line each time: the suffix once, even when opened again while open.
    copyrightLabel_->setText(QString::fromUtf8(kCopyright) + QStringLiteral(" - ") +
                             QString::fromStdString(t[TextId::AllRightsReserved]));
    move(centre - QPoint(width() / 2, height() / 2));
    show();
    raise();
}

void AboutWindow::onScrollTick() {
    scroll_.tick();
    placePanel();
}

void AboutWindow::placePanel() {
    creditsPanel_->setGeometry(twipsToPixels(platform_.screen, 60, scroll_.top(), 5775, 4155));
}

void AboutWindow::openHomePage() {
    platform_.shell.open(build::kSiteBase);
}

void AboutWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void AboutWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    scrollTimer_.stop();
    windows_.closeAboutWindow();
}

}  // namespace tz
