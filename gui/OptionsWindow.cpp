#include "gui/OptionsWindow.h"

#include <QCloseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>

#include "BuildConfig.h"
#include "core/settings/MouseSettingsCommand.h"
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

// A scroll bar keeps its value when given one outside its range.
void setScrollValue(QScrollBar* bar, int value) {
    if (value >= bar->minimum() && value <= bar->maximum()) {
        bar->setValue(value);
    }
}

// A check box holds 0, 1 or 2 and refuses anything else.
void setCheckValue(TriStateCheckBox* box, int value) {
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

int checkValue(const TriStateCheckBox* box) {
    switch (box->checkState()) {
        case Qt::Checked:
            return 1;
        case Qt::PartiallyChecked:
            return 2;
        default:
            return 0;
    }
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
    l->accessibleRole = QAccessible::Link;
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
    picture_ = label(90, 90, 1635, 1575);
    picture_->setPixmap(scaledPicture(QStringLiteral(":/images/options/picture.jpg"),
                                      platform_.screen.windowScale()));

    mouseSettingsLink_ = linkLabel(1920, 420, 5505, 315, "Mouse settings...", 12);
    aboutButton_ = label(7650, 330, 525, 495);
    aboutButton_->setText(QStringLiteral("i"));
    aboutButton_->setFont(programFont(QStringLiteral("Verdana"), 18, true, true));
    aboutButton_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setTextColour(aboutButton_, Qt::white);

    soundBox_ = checkBox(1980, 1170);
    soundLabel_ = plainLabel(2280, 1200, "Sounds");
    toleranceLabel_ = plainLabel(4065, 1200, "Tolerance (0 - 10)");
    toleranceValueLabel_ = numberLabel(7080, 1080);
    toleranceSlider_ = scrollBar(7830, 1080, 0, 10);
    delayLabel_ = plainLabel(330, 1950, "Click delay in tenths of a second (2 - 20)");
    delayValueLabel_ = numberLabel(7080, 1830);
    delaySlider_ = scrollBar(7830, 1830, 2, 20);
    startAtLogonBox_ = checkBox(300, 2610);
    startAtLogonLabel_ = plainLabel(600, 2650, "Start automatically at logon");
    middleButtonBox_ = checkBox(300, 3000);
    middleButtonLabel_ = plainLabel(600, 3040, "Show the middle-click button");
    rightEdgeBox_ = checkBox(300, 3390);
    rightEdgeLabel_ = plainLabel(600, 3435, "Also show the bar at the right edge");
    languageLink_ = linkLabel(360, 4080, 3135, 315, "Language...", 12);
    addLanguageLink_ = linkLabel(3720, 4080, 4365, 315, "Get more languages...", 12);
    productPageLink_ = linkLabel(180, 4800, 0, 255, "Check for updates...", 11.25);
    productPageLink_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    productPageLink_->adjustSize();
    // Right of it, ending where the frames above end (placed with its text).
    moreOptionsLink_ = linkLabel(0, 4800, 0, 255, "More options...", 11.25);
    // And left of that one.
    findSettingsLink_ = linkLabel(0, 4800, 0, 255, "Find my settings...", 11.25);

    donateButton_ = label(150, 5310, 1380, 390);
    donateButton_->setPixmap(scaledPicture(QStringLiteral(":/images/options/donate.gif"),
                                           platform_.screen.windowScale()));
    donateButton_->setCursor(smileCursor());

    productTitleLabel_ = label(3420, 5400, 0, 255);
    productTitleLabel_->setFont(programFont(QStringLiteral("Arial"), 11.25, true, true));
    setTextColour(productTitleLabel_, QColor(224, 224, 224));

    okButton_ = dialogButton(this, QStringLiteral("&OK"),
                             twipsToPixels(platform_.screen, 5850, 5310, 1155, 465));
    cancelButton_ = dialogButton(this, QStringLiteral("&Cancel"),
                                 twipsToPixels(platform_.screen, 7080, 5310, 1155, 465));
    // Names by role, for tests and for accessibility and automation tools.
    const std::pair<QWidget*, const char*> names[] = {{picture_, "picture"},
                                                      {mouseSettingsLink_, "mouseSettingsLink"},
                                                      {aboutButton_, "aboutButton"},
                                                      {soundBox_, "soundBox"},
                                                      {soundLabel_, "soundLabel"},
                                                      {toleranceLabel_, "toleranceLabel"},
                                                      {toleranceValueLabel_, "toleranceValueLabel"},
                                                      {toleranceSlider_, "toleranceSlider"},
                                                      {delayLabel_, "delayLabel"},
                                                      {delayValueLabel_, "delayValueLabel"},
                                                      {delaySlider_, "delaySlider"},
                                                      {startAtLogonBox_, "startAtLogonBox"},
                                                      {startAtLogonLabel_, "startAtLogonLabel"},
                                                      {middleButtonBox_, "middleButtonBox"},
                                                      {middleButtonLabel_, "middleButtonLabel"},
                                                      {rightEdgeBox_, "rightEdgeBox"},
                                                      {rightEdgeLabel_, "rightEdgeLabel"},
                                                      {languageLink_, "languageLink"},
                                                      {addLanguageLink_, "addLanguageLink"},
                                                      {productPageLink_, "productPageLink"},
                                                      {moreOptionsLink_, "moreOptionsLink"},
                                                      {findSettingsLink_, "findSettingsLink"},
                                                      {donateButton_, "donateButton"},
                                                      {productTitleLabel_, "productTitleLabel"},
                                                      {okButton_, "okButton"},
                                                      {cancelButton_, "cancelButton"}};
    for (const auto& [widget, name] : names) {
        widget->setObjectName(QLatin1String(name));
    }
    // OK comes first in tab order and has the focus, so Enter confirms.
    setTabOrder(okButton_, cancelButton_);
    okButton_->setFocus();

    QObject::connect(toleranceSlider_, &QScrollBar::valueChanged, this,
                     [this] { showTolerance(); });
    QObject::connect(delaySlider_, &QScrollBar::valueChanged, this, [this] { showDelay(); });
    QObject::connect(okButton_, &QPushButton::clicked, this, [this] { accept(); });
    QObject::connect(cancelButton_, &QPushButton::clicked, this, [this] { reject(); });
    startAtLogonLabel_->onClick = [this] { toggleStartAtLogon(); };
    soundLabel_->onClick = [this] { toggleSound(); };
    middleButtonLabel_->onClick = [this] { toggleMiddleButton(); };
    languageLink_->onClick = [this] { pickLanguage(); };
    addLanguageLink_->onClick = [this] { openLanguagesPage(); };
    productPageLink_->onClick = [this] { openProductPage(); };
    moreOptionsLink_->onClick = [this] { emit moreOptionsRequested(); };
    findSettingsLink_->onClick = [this] { emit findSettingsRequested(); };
    aboutButton_->onClick = [this] { showAbout(); };
    mouseSettingsLink_->onClick = [this] { openMouseSettings(); };
    donateButton_->onClick = [this] { openDonationPage(); };
    aboutButton_->accessibleRole = QAccessible::Button;
    donateButton_->accessibleRole = QAccessible::Button;
}

void OptionsWindow::load() {
    // Topmost through the window flags; the bar's icon.
    setWindowIcon(windows_.bar().windowIcon());
    // The settings into the controls.
    showSettings();
    productTitleLabel_->setText(QString::fromStdString(app_.productTitle));
    productTitleLabel_->adjustSize();
    keepShortOf(productTitleLabel_, okButton_, twipsToPixelsX(platform_.screen, 90),
                donateButton_->geometry().right() + twipsToPixelsX(platform_.screen, 90));
    // The hand over everything that can be acted on.
    const QCursor hand = handCursor();
    for (QWidget* w : std::initializer_list<QWidget*>{
             startAtLogonBox_, soundBox_, middleButtonBox_, rightEdgeBox_, toleranceSlider_,
             delaySlider_, okButton_, cancelButton_, startAtLogonLabel_, languageLink_, soundLabel_,
             middleButtonLabel_, addLanguageLink_, productPageLink_, moreOptionsLink_, aboutButton_,
             mouseSettingsLink_, findSettingsLink_}) {
        w->setCursor(hand);
    }
    // The texts of the active language.
    windows_.applyTexts();
    // Used by dwelling, so the left click is in force meanwhile.
    app_.clickMode = ClickMode::LeftClick;
}

void OptionsWindow::retranslate(const TextTable& t) {
    const auto q = [](const std::string& text) { return QString::fromStdString(text); };
    setWindowTitle(literalWindowTitle(q(t[TextId::OptionsTitle])));
    setAutoSizedText(toleranceLabel_, t[TextId::ToleranceCaption] + " (0 - 10)");
    setAutoSizedText(delayLabel_, t[TextId::DelayCaption] + " (2 - 20)");
    setAutoSizedText(startAtLogonLabel_, t[TextId::StartAtLogonCaption]);
    languageLink_->setText(q(t[TextId::LanguageLink]));
    setAutoSizedText(soundLabel_, t[TextId::SoundsCaption]);
    setAutoSizedText(middleButtonLabel_, t[TextId::MiddleButtonCaption]);
    addLanguageLink_->setText(q(t[TextId::MoreLanguagesLink]));
    setAutoSizedText(productPageLink_, t[TextId::CheckForUpdatesLink]);
    setAutoSizedText(moreOptionsLink_, t[TextId::MoreOptionsLink]);
    setAutoSizedText(findSettingsLink_, t[TextId::FindSettingsLink]);
    placeMoreOptionsLinks();
    aboutButton_->setToolTip(literalToolTip(q(t[TextId::About])));
    mouseSettingsLink_->setText(q(t[TextId::MouseSettingsLink]));
    setAutoSizedText(rightEdgeLabel_, t[TextId::RightEdgeCaption]);
    SetWindowTextUnicode(okButton_, t[TextId::OkCaption]);
    SetWindowTextUnicode(cancelButton_, t[TextId::CancelCaption]);
    donateButton_->setToolTip(literalToolTip(q(t[TextId::DonateTip])));
    // A screen reader names each control by the words a sighted user reads
    // on it or beside it.
    const std::pair<QWidget*, QString> names[] = {{mouseSettingsLink_, mouseSettingsLink_->text()},
                                                  {aboutButton_, q(t[TextId::About])},
                                                  {soundBox_, soundLabel_->text()},
                                                  {soundLabel_, soundLabel_->text()},
                                                  {toleranceSlider_, toleranceLabel_->text()},
                                                  {delaySlider_, delayLabel_->text()},
                                                  {startAtLogonBox_, startAtLogonLabel_->text()},
                                                  {startAtLogonLabel_, startAtLogonLabel_->text()},
                                                  {middleButtonBox_, middleButtonLabel_->text()},
                                                  {middleButtonLabel_, middleButtonLabel_->text()},
                                                  {rightEdgeBox_, rightEdgeLabel_->text()},
                                                  {languageLink_, languageLink_->text()},
                                                  {addLanguageLink_, addLanguageLink_->text()},
                                                  {productPageLink_, productPageLink_->text()},
                                                  {moreOptionsLink_, moreOptionsLink_->text()},
                                                  {findSettingsLink_, findSettingsLink_->text()},
                                                  {donateButton_, q(t[TextId::DonateTip])}};
    for (const auto& [control, name] : names) {
        control->setAccessibleName(name);
    }
    // The numbers read as numbers, described by their captions.
    toleranceValueLabel_->setAccessibleDescription(toleranceLabel_->text());
    delayValueLabel_->setAccessibleDescription(delayLabel_->text());
}

void OptionsWindow::showSettings() {
    // A refused value leaves the control as it was.
    const Settings& s = app_.settings;
    showToleranceAndDelay();
    setCheckValue(startAtLogonBox_, s.runAtStartup);
    setCheckValue(soundBox_, s.soundOn);
    setCheckValue(middleButtonBox_, s.middleButton);
    setCheckValue(rightEdgeBox_, s.rightEdge);
}

void OptionsWindow::showToleranceAndDelay() {
    const Settings& s = app_.settings;
    setScrollValue(toleranceSlider_, s.tolerance);
    setScrollValue(delaySlider_, s.delay);
    // The numbers show the stored values, even refused ones.
    toleranceValueLabel_->setText(QString::fromStdString(number(s.tolerance)));
    delayValueLabel_->setText(QString::fromStdString(number(s.delay)));
}

void OptionsWindow::mouseMoveEvent(QMouseEvent* /*event*/) {
    forceLeftClick();
}

void OptionsWindow::forceLeftClick() {
    app_.clickMode = ClickMode::LeftClick;
}

void OptionsWindow::showTolerance() {
    toleranceValueLabel_->setText(QString::number(toleranceSlider_->value()));
}

void OptionsWindow::showDelay() {
    delayValueLabel_->setText(QString::number(delaySlider_->value()));
}

void OptionsWindow::toggleStartAtLogon() {
    setCheckValue(startAtLogonBox_, checkValue(startAtLogonBox_) == 1 ? 0 : 1);
}

void OptionsWindow::toggleSound() {
    setCheckValue(soundBox_, checkValue(soundBox_) == 1 ? 0 : 1);
}

void OptionsWindow::toggleMiddleButton() {
    setCheckValue(middleButtonBox_, checkValue(middleButtonBox_) == 1 ? 0 : 1);
}

void OptionsWindow::accept() {
    Settings& s = app_.settings;
    s.tolerance = static_cast<std::int16_t>(toleranceSlider_->value());
    s.delay = static_cast<std::int16_t>(delaySlider_->value());
    s.runAtStartup = static_cast<std::int16_t>(checkValue(startAtLogonBox_));
    s.soundOn = static_cast<std::int16_t>(checkValue(soundBox_));
    s.middleButton = static_cast<std::int16_t>(checkValue(middleButtonBox_));
    s.rightEdge = static_cast<std::int16_t>(checkValue(rightEdgeBox_));
    windows_.saveSettings();
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

void OptionsWindow::placeMoreOptionsLinks() {
    moreOptionsLink_->adjustSize();
    moreOptionsLink_->move(twipsToPixelsX(platform_.screen, 8235) - moreOptionsLink_->width(),
                           moreOptionsLink_->y());
    findSettingsLink_->adjustSize();
    findSettingsLink_->move(
        moreOptionsLink_->x() - twipsToPixelsX(platform_.screen, 240) - findSettingsLink_->width(),
        moreOptionsLink_->y());
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
    windows_.openAboutWindowForOptions();
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
    okButton_->setFocus();
}

}  // namespace tz
