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

frmAbout::frmAbout(AppState& app, Platform& platform, ProgramWindows& windows)
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

    imgTitle = new QLabel(this);
    imgTitle->setPixmap(
        scaledPicture(QStringLiteral(":/images/about/title.png"), screen.windowScale()));
    place(imgTitle, 0, 0, 1155, 1125);
    lblTitle = text(this, 14, true);
    lblTitle->setText(QStringLiteral("Tindro Zevad Free"));
    place(lblTitle, 990, 330, 3180, 375);
    lblVersion = text(this, 8, false);
    place(lblVersion, 4800, 510, 720, 195);
    lblVersion->resize(lblVersion->width() * 2, lblVersion->height());  // room for larger fonts
    Frame1 = new QFrame(this);
    Frame1->setFrameShape(QFrame::HLine);
    place(Frame1, -60, 1140, 6495, 25);

    Picture1 = new QWidget(this);
    place(Picture1, 210, 1170, 5940, 2235);
    Picture2 = new QWidget(Picture1);
    lblDescription = text(Picture2, 10, false);
    lblDescription->setWordWrap(true);
    lblDescription->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    place(lblDescription, 900, 0, 3945, 1095);
    lblCopyright = text(Picture2, 9, false);
    lblCopyright->setWordWrap(true);
    lblCopyright->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblCopyright->setText(QString::fromUtf8(kCopyright));
    place(lblCopyright, 690, 1320, 4380, 435);
    Image1 = new QLabel(Picture2);
    Image1->setPixmap(
        scaledPicture(QStringLiteral(":/images/about/picture.png"), screen.windowScale()));
    Image1->setAlignment(Qt::AlignCenter);
    place(Image1, 1740, 2040, 2250, 1800);
    lblHomePage = new ClickableLabel(Picture2);
    lblHomePage->setTextFormat(Qt::PlainText);
    lblHomePage->setFont(programFont(QStringLiteral("Arial"), 9, false, false, true));
    setTextColour(lblHomePage, QColor(121, 165, 238));
    lblHomePage->setText(QString::fromUtf8(build::kSiteBase));
    lblHomePage->setCursor(handCursor());
    lblHomePage->onClick = [this] { lblHomePage_Click(); };
    place(lblHomePage, 1860, 3840, 3255, 255);
    lblHomePageCap = text(Picture2, 8, false);
    place(lblHomePageCap, 720, 3870, 1050, 195);

    Timer1.setTimerType(Qt::PreciseTimer);
    QObject::connect(&Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
}

void frmAbout::Form_Load() {
    Timer1.start(kScrollInterval);
    scroll_.reset();
    placePanel();
}

void frmAbout::open(const QPoint& centre) {
    const TextTable& t = app_.texts;
    setWindowTitle(literalWindowTitle(QString::fromStdString(aboutWindowTitle(t[11]))));
    scroll_.reset();
    placePanel();
    lblVersion->setText(QString::fromStdString(
        releaseLabel(build::kVersionMajor, build::kVersionMinor, build::kVersionRevision)));
    lblDescription->setText(QString::fromStdString(t[26]));
    lblHomePageCap->setText(QString::fromStdString(t[29] + ":"));
    lblHomePageCap->adjustSize();
    lblCopyright->setText(lblCopyright->text() + QStringLiteral(" - ") +
                          QString::fromStdString(t[27]));
    move(centre - QPoint(width() / 2, height() / 2));
    show();
    raise();
}

void frmAbout::Timer1_Timer() {
    scroll_.tick();
    placePanel();
}

void frmAbout::placePanel() {
    Picture2->setGeometry(twipsToPixels(platform_.screen, 60, scroll_.top(), 5775, 4155));
}

void frmAbout::lblHomePage_Click() {
    platform_.shell.open(build::kSiteBase);
}

void frmAbout::closeEvent(QCloseEvent* event) {
    event->ignore();
    Timer1.stop();
    windows_.closeAbout();
}

}  // namespace tz
