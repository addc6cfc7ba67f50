#include "gui/OptionsWindow.h"

#include <QCloseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>

#include "BuildConfig.h"
#include "core/settings/MouseSettingsCommand.h"
#include "core/settings/SettingsFile.h"
#include "core/settings/StartupEntry.h"
#include "gui/ClickBar.h"
#include "gui/LanguagePicker.h"
#include "gui/UnicodeMessageBox.h"
#include "gui/WindowManager.h"
#include "gui/widgets/ClickableLabel.h"
#include "gui/widgets/TriStateCheckBox.h"
#include "gui/widgets/Twips.h"
#include "gui/widgets/WindowLook.h"

namespace tz {

namespace {

constexpr double kClientWidth = 8415;
constexpr double kClientHeight = 5940;
const QColor kLinkColour(121, 165, 238);
const QColor kFrameColour(128, 128, 128);
const QColor kInfoFill(28, 113, 253);
const QColor kInfoBorder(192, 192, 192);

// The rounded frames drawn on the window's surface, in twips; the fifth one
// is the filled background of the information button.
struct Frame {
    double left, top, width, height;
    bool filled;
};
constexpr Frame kFrames[] = {
    {1830, 240, 5685, 675, false},   // Shape4: mouse settings link
    {7590, 240, 645, 675, true},     // Shape5: information button
    {1830, 990, 1965, 675, false},   // Shape7: sound
    {3870, 990, 4365, 675, false},   // Shape1: tolerance
    {150, 1740, 8085, 675, false},   // Shape2: delay
    {150, 2490, 8085, 1335, false},  // Shape3: the three switches
    {150, 3900, 8085, 675, false},   // Shape6: language links
};

std::string number(int value) {
    return std::to_string(value);
}

}  // namespace

OptionsWindow::OptionsWindow(AppState& app, Platform& platform, WindowManager& windows)
    : QWidget(nullptr, kDialogWindowFlags), app_(app), platform_(platform), windows_(windows) {
    setDarkBackground(this);
    setMouseTracking(true);
    const QRect client = twipsToPixels(platform.screen, 0, 0, kClientWidth, kClientHeight);
    setFixedSize(client.size());
    // Centred on the screen.
    move(twipsToPixelsX(platform.screen, (platform.screen.widthTwips() - kClientWidth) / 2),
         twipsToPixelsY(platform.screen, (platform.screen.heightTwips() - kClientHeight) / 2));
    createControls();
}

ClickableLabel* OptionsWindow::label(double left, double top, double width, double height) {
    auto* l = new ClickableLabel(this);
    l->setGeometry(twipsToPixels(platform_.screen, left, top, width, height));
    // Texts from a language file are shown as written, never as markup.
    l->setTextFormat(Qt::PlainText);
    // Labels and pictures lie on the window's surface: moving over them gives
    // back the left click as the bare surface does.
    l->onMouseMove = [this] { forceLeftClick(); };
    return l;
}

ClickableLabel* OptionsWindow::plainLabel(double left, double top, const char* design) {
    auto* l = label(left, top, 0, 240);
    l->setFont(programFont(QStringLiteral("Arial"), 9.75));
    setTextColour(l, Qt::white);
    l->setText(QString::fromUtf8(design));
    l->adjustSize();
    return l;
}

ClickableLabel* OptionsWindow::linkLabel(double left, double top, double width, double height,
                                         const char* design, double pointSize) {
    auto* l = label(left, top, width, height);
    l->setFont(programFont(QStringLiteral("Arial"), pointSize, false, false, true));
    setTextColour(l, kLinkColour);
    l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    l->setText(QString::fromUtf8(design));
    return l;
}

ClickableLabel* OptionsWindow::numberLabel(double left, double top) {
    auto* l = label(left, top, 750, 585);
    QFont font = programFont(QStringLiteral("Arial Black"), 15.75, true);
    l->setFont(font);
    setTextColour(l, QColor(255, 0, 0));
    l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    l->setText(QStringLiteral("0"));
    return l;
}

TriStateCheckBox* OptionsWindow::checkBox(double left, double top) {
    auto* box = new TriStateCheckBox(this);
    box->setGeometry(twipsToPixels(platform_.screen, left, top, 255, 315));
    box->setAttribute(Qt::WA_NoMousePropagation);
    return box;
}

QScrollBar* OptionsWindow::scrollBar(double left, double top, int minimum, int maximum) {
    auto* bar = new QScrollBar(Qt::Vertical, this);
    bar->setGeometry(twipsToPixels(platform_.screen, left, top, 255, 495));
    bar->setRange(minimum, maximum);
    bar->setSingleStep(1);
    bar->setPageStep(1);
    // The number beside it follows released values, not a dragged thumb.
    bar->setTracking(false);
    bar->setAttribute(Qt::WA_NoMousePropagation);
    return bar;
}

void OptionsWindow::createControls() {
    picture = label(90, 90, 1635, 1575);
    picture->setPixmap(scaledPicture(QStringLiteral(":/images/options/picture.jpg"),
                                     platform_.screen.windowScale()));

    mouseSettingsLink = linkLabel(1920, 420, 5505, 315, "Mouse settings...", 12);
    aboutButton = label(7650, 330, 525, 495);
    aboutButton->setText(QStringLiteral("i"));
    aboutButton->setFont(programFont(QStringLiteral("Verdana"), 18, true, true));
    aboutButton->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setTextColour(aboutButton, Qt::white);

    soundBox = checkBox(1980, 1170);
    soundLabel = plainLabel(2280, 1200, "Sounds");
    toleranceLabel = plainLabel(4065, 1200, "Tolerance (0 - 10)");
    toleranceValueLabel = numberLabel(7080, 1080);
    toleranceSlider = scrollBar(7830, 1080, 0, 10);
    delayLabel = plainLabel(330, 1950, "Click delay in tenths of a second (2 - 20)");
    delayValueLabel = numberLabel(7080, 1830);
    delaySlider = scrollBar(7830, 1830, 2, 20);
    startAtLogonBox = checkBox(300, 2610);
    startAtLogonLabel = plainLabel(600, 2650, "Start automatically at logon");
    middleButtonBox = checkBox(300, 3000);
    middleButtonLabel = plainLabel(600, 3040, "Show the middle-click button");
    rightEdgeBox = checkBox(300, 3390);
    rightEdgeLabel = plainLabel(600, 3435, "Also show the bar at the right edge");
    languageLink = linkLabel(360, 4080, 3135, 315, "Language...", 12);
    addLanguageLink = linkLabel(3720, 4080, 4365, 315, "Get more languages...", 12);
    productPageLink = linkLabel(180, 4800, 0, 255, "Check for updates...", 11.25);
    productPageLink->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    productPageLink->adjustSize();

    donateButton = label(150, 5310, 1380, 390);
    donateButton->setPixmap(scaledPicture(QStringLiteral(":/images/options/donate.gif"),
                                          platform_.screen.windowScale()));
    donateButton->setCursor(smileCursor());

    productTitleLabel = label(3420, 5400, 0, 255);
    productTitleLabel->setFont(programFont(QStringLiteral("Arial"), 11.25, true, true));
    setTextColour(productTitleLabel, QColor(224, 224, 224));

    okButton = dialogButton(this, QStringLiteral("&OK"),
                            twipsToPixels(platform_.screen, 5850, 5310, 1155, 465));
    cancelButton = dialogButton(this, QStringLiteral("&Cancel"),
                                twipsToPixels(platform_.screen, 7080, 5310, 1155, 465));
    // OK comes first in tab order and has the focus, so Enter confirms.
    setTabOrder(okButton, cancelButton);
    okButton->setFocus();

    QObject::connect(toleranceSlider, &QScrollBar::valueChanged, this, [this] { showTolerance(); });
    QObject::connect(delaySlider, &QScrollBar::valueChanged, this, [this] { showDelay(); });
    QObject::connect(okButton, &QPushButton::clicked, this, [this] { accept(); });
    QObject::connect(cancelButton, &QPushButton::clicked, this, [this] { reject(); });
    startAtLogonLabel->onClick = [this] { toggleStartAtLogon(); };
    soundLabel->onClick = [this] { toggleSound(); };
    middleButtonLabel->onClick = [this] { toggleMiddleButton(); };
    languageLink->onClick = [this] { pickLanguage(); };
    addLanguageLink->onClick = [this] { openLanguagesPage(); };
    productPageLink->onClick = [this] { openProductPage(); };
    aboutButton->onClick = [this] { showAbout(); };
    mouseSettingsLink->onClick = [this] { openMouseSettings(); };
    donateButton->onClick = [this] { openDonationPage(); };
}

void OptionsWindow::setScrollValue(QScrollBar* bar, int value) {
    if (value >= bar->minimum() && value <= bar->maximum()) {
        bar->setValue(value);
    }
}

void OptionsWindow::setCheckValue(TriStateCheckBox* box, int value) {
    switch (value) {
        case 0:
            box->setCheckState(Qt::Unchecked);
            break;
        case 1:
            box->setCheckState(Qt::Checked);
            break;
        case 2:
            box->setCheckState(Qt::PartiallyChecked);
            break;
        default:
            break;
    }
}

int OptionsWindow::checkValue(const TriStateCheckBox* box) {
    switch (box->checkState()) {
        case Qt::Checked:
            return 1;
        case Qt::PartiallyChecked:
            return 2;
        default:
            return 0;
    }
}

void OptionsWindow::load() {
    // Topmost through the window flags; the bar's icon.
    setWindowIcon(windows_.bar().windowIcon());
    // The settings into the controls.
    showSettings();
    productTitleLabel->setText(QString::fromStdString(app_.productTitle));
    productTitleLabel->adjustSize();
    // The hand over everything that can be acted on.
    const QCursor hand = handCursor();
    for (QWidget* w : std::initializer_list<QWidget*>{
             startAtLogonBox, soundBox, middleButtonBox, rightEdgeBox, toleranceSlider, delaySlider,
             okButton, cancelButton, startAtLogonLabel, languageLink, soundLabel, middleButtonLabel,
             addLanguageLink, productPageLink, aboutButton, mouseSettingsLink}) {
        w->setCursor(hand);
    }
    // The texts of the active language.
    windows_.applyTexts();
    // Used by dwelling, so the left click is in force meanwhile.
    savedClickMode = app_.clickMode;
    app_.clickMode = ClickMode::LeftClick;
}

void OptionsWindow::retranslate(const TextTable& t) {
    const auto q = [](const std::string& text) { return QString::fromStdString(text); };
    setWindowTitle(literalWindowTitle(q(t[TextId::OptionsTitle])));
    setAutoSizedText(toleranceLabel, t[TextId::ToleranceCaption] + " (0 - 10)");
    setAutoSizedText(delayLabel, t[TextId::DelayCaption] + " (2 - 20)");
    setAutoSizedText(startAtLogonLabel, t[TextId::StartAtLogonCaption]);
    languageLink->setText(q(t[TextId::LanguageLink]));
    setAutoSizedText(soundLabel, t[TextId::SoundsCaption]);
    setAutoSizedText(middleButtonLabel, t[TextId::MiddleButtonCaption]);
    addLanguageLink->setText(q(t[TextId::MoreLanguagesLink]));
    setAutoSizedText(productPageLink, t[TextId::CheckForUpdatesLink]);
    aboutButton->setToolTip(literalToolTip(q(t[TextId::About])));
    mouseSettingsLink->setText(q(t[TextId::MouseSettingsLink]));
    setAutoSizedText(rightEdgeLabel, t[TextId::RightEdgeCaption]);
    SetWindowTextUnicode(okButton, t[TextId::OkCaption]);
    SetWindowTextUnicode(cancelButton, t[TextId::CancelCaption]);
    donateButton->setToolTip(literalToolTip(q(t[TextId::DonateTip])));
}

void OptionsWindow::showSettings() {
    // A refused value leaves the control as it was.
    const Settings& s = app_.settings;
    setScrollValue(toleranceSlider, s.tolerance);
    setScrollValue(delaySlider, s.delay);
    setCheckValue(startAtLogonBox, s.runAtStartup);
    setCheckValue(soundBox, s.soundOn);
    setCheckValue(middleButtonBox, s.middleButton);
    setCheckValue(rightEdgeBox, s.rightEdge);
    // The numbers show the stored values, even refused ones.
    toleranceValueLabel->setText(QString::fromStdString(number(s.tolerance)));
    delayValueLabel->setText(QString::fromStdString(number(s.delay)));
}

void OptionsWindow::mouseMoveEvent(QMouseEvent* /*event*/) {
    forceLeftClick();
}

void OptionsWindow::forceLeftClick() {
    app_.clickMode = ClickMode::LeftClick;
}

void OptionsWindow::unload() {
    app_.clickMode = savedClickMode;
}

void OptionsWindow::showTolerance() {
    toleranceValueLabel->setText(QString::number(toleranceSlider->value()));
}

void OptionsWindow::showDelay() {
    delayValueLabel->setText(QString::number(delaySlider->value()));
}

void OptionsWindow::toggleStartAtLogon() {
    setCheckValue(startAtLogonBox, checkValue(startAtLogonBox) == 1 ? 0 : 1);
}

void OptionsWindow::toggleSound() {
    setCheckValue(soundBox, checkValue(soundBox) == 1 ? 0 : 1);
}

void OptionsWindow::toggleMiddleButton() {
    setCheckValue(middleButtonBox, checkValue(middleButtonBox) == 1 ? 0 : 1);
}

void OptionsWindow::accept() {
    Settings& s = app_.settings;
    s.tolerance = static_cast<std::int16_t>(toleranceSlider->value());
    s.delay = static_cast<std::int16_t>(delaySlider->value());
    s.runAtStartup = static_cast<std::int16_t>(checkValue(startAtLogonBox));
    s.soundOn = static_cast<std::int16_t>(checkValue(soundBox));
    s.middleButton = static_cast<std::int16_t>(checkValue(middleButtonBox));
    s.rightEdge = static_cast<std::int16_t>(checkValue(rightEdgeBox));
    // The saved click kind goes back to the one this start restored.
    writeSettingsFile(app_.settingsPath, s);
    UpdateStartupEntry(s.runAtStartup, platform_.programFolder.executablePath(),
                       platform_.startupEntry);
    ClickBar& bar = windows_.bar();
    bar.layOutLowerButtons();
    bar.fitHeightToButtons();
    windows_.bar().engine().resetCounts();
    windows_.destroyOptionsWindow();
}

void OptionsWindow::reject() {
    windows_.bar().engine().resetCounts();
    windows_.destroyOptionsWindow();
}

void OptionsWindow::openPage(const char* path) {
    platform_.shell.open(std::string(build::kSiteBase) + path);
}

void OptionsWindow::openDonationPage() {
    openPage("donazioni--donation.html");
}

void OptionsWindow::openLanguagesPage() {
    openPage("tindro-mouse-languages.html");
}

void OptionsWindow::openProductPage() {
    openPage("tindro-mouse.html");
}

void OptionsWindow::showAbout() {
    hide();
    windows_.openAboutWindow();
}

void OptionsWindow::openMouseSettings() {
    for (const auto& command : mouseSettingsCommands(platform_.shell.currentDesktop())) {
        if (platform_.shell.start(command)) {
            return;
        }
    }
}

void OptionsWindow::pickLanguage() {
    pickLanguageFile(app_, platform_, windows_, this);
}

void OptionsWindow::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const Frame& f : kFrames) {
        const QRectF r = QRectF(twipsToPixels(platform_.screen, f.left, f.top, f.width, f.height))
                             .adjusted(0.5, 0.5, -0.5, -0.5);
        painter.setPen(f.filled ? kInfoBorder : kFrameColour);
        painter.setBrush(f.filled ? QBrush(kInfoFill) : Qt::NoBrush);
        painter.drawRoundedRect(r, 8, 8);
    }
}

void OptionsWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    windows_.destroyOptionsWindow();
}

void OptionsWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    activateWindow();
    okButton->setFocus();
}

}  // namespace tz
