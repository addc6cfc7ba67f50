#include "gui/AboutWindow.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>

#include "BuildConfig.h"
#include "core/about/AboutTexts.h"
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

    titlePicture = new QLabel(this);
    titlePicture->setPixmap(
        scaledPicture(QStringLiteral(":/images/about/title.png"), screen.windowScale()));
    place(titlePicture, 0, 0, 1155, 1125);
    titleLabel = text(this, 14, true);
    titleLabel->setText(QStringLiteral("Tindro Zevad Free"));
    place(titleLabel, 990, 330, 3180, 375);
    versionLabel = text(this, 8, false);
    place(versionLabel, 4800, 510, 720, 195);
    versionLabel->resize(versionLabel->width() * 2,
                         versionLabel->height());  // room for larger fonts
    separatorLine = new QFrame(this);
    separatorLine->setFrameShape(QFrame::HLine);
    place(separatorLine, -60, 1140, 6495, 25);

    creditsViewport = new QWidget(this);
    place(creditsViewport, 210, 1170, 5940, 2235);
    creditsPanel = new QWidget(creditsViewport);
    descriptionLabel = text(creditsPanel, 10, false);
    descriptionLabel->setWordWrap(true);
    descriptionLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    place(descriptionLabel, 900, 0, 3945, 1095);
    copyrightLabel = text(creditsPanel, 9, false);
    copyrightLabel->setWordWrap(true);
    copyrightLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    copyrightLabel->setText(QString::fromUtf8(kCopyright));
    place(copyrightLabel, 690, 1320, 4380, 435);
    picture = new QLabel(creditsPanel);
    picture->setPixmap(
        scaledPicture(QStringLiteral(":/images/about/picture.png"), screen.windowScale()));
    picture->setAlignment(Qt::AlignCenter);
    place(picture, 1740, 2040, 2250, 1800);
    homePageLink = new ClickableLabel(creditsPanel);
    homePageLink->setTextFormat(Qt::PlainText);
    homePageLink->setFont(programFont(QStringLiteral("Arial"), 9, false, false, true));
    setTextColour(homePageLink, QColor(121, 165, 238));
    homePageLink->setText(QString::fromUtf8(build::kSiteBase));
    homePageLink->setCursor(handCursor());
    homePageLink->onClick = [this] { openHomePage(); };
    place(homePageLink, 1860, 3840, 3255, 255);
    homePageCaption = text(creditsPanel, 8, false);
    place(homePageCaption, 720, 3870, 1050, 195);

    scrollTimer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&scrollTimer, &QTimer::timeout, this, [this] { onScrollTick(); });
}

void AboutWindow::load() {
    scrollTimer.start(kScrollInterval);
    scroll_.reset();
    placePanel();
}

void AboutWindow::open(const QPoint& centre) {
    const TextTable& t = app_.texts;
    setWindowTitle(literalWindowTitle(QString::fromStdString(aboutWindowTitle(t[TextId::About]))));
    scroll_.reset();
    placePanel();
    versionLabel->setText(QString::fromStdString(
        releaseLabel(build::kVersionMajor, build::kVersionMinor, build::kVersionRevision)));
    descriptionLabel->setText(QString::fromStdString(t[TextId::AboutDescription]));
    homePageCaption->setText(QString::fromStdString(t[TextId::HomePage] + ":"));
    homePageCaption->adjustSize();
    copyrightLabel->setText(copyrightLabel->text() + QStringLiteral(" - ") +
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
    creditsPanel->setGeometry(twipsToPixels(platform_.screen, 60, scroll_.top(), 5775, 4155));
}

void AboutWindow::openHomePage() {
    platform_.shell.open(build::kSiteBase);
}

void AboutWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    scrollTimer.stop();
    windows_.closeAboutWindow();
}

}  // namespace tz
