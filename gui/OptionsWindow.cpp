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

Form3::Form3(AppState& app, Platform& platform, ProgramWindows& windows)
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

ClickableLabel* Form3::label(double left, double top, double width, double height) {
    auto* l = new ClickableLabel(this);
    l->setGeometry(twipsToPixels(platform_.screen, left, top, width, height));
    // Texts from a language file are shown as written, never as markup.
    l->setTextFormat(Qt::PlainText);
    // Labels and pictures lie on the window's surface: moving over them gives
    // back the left click as the bare surface does.
    l->onMouseMove = [this] { Form_MouseMove(); };
    return l;
}

ClickableLabel* Form3::plainLabel(double left, double top, const char* design) {
    auto* l = label(left, top, 0, 240);
    l->setFont(programFont(QStringLiteral("Arial"), 9.75));
    setTextColour(l, Qt::white);
    l->setText(QString::fromUtf8(design));
    l->adjustSize();
    return l;
}

ClickableLabel* Form3::linkLabel(double left, double top, double width, double height,
                                 const char* design, double pointSize) {
    auto* l = label(left, top, width, height);
    l->setFont(programFont(QStringLiteral("Arial"), pointSize, false, false, true));
    setTextColour(l, kLinkColour);
    l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    l->setText(QString::fromUtf8(design));
    return l;
}

ClickableLabel* Form3::numberLabel(double left, double top) {
    auto* l = label(left, top, 750, 585);
    QFont font = programFont(QStringLiteral("Arial Black"), 15.75, true);
    l->setFont(font);
    setTextColour(l, QColor(255, 0, 0));
    l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    l->setText(QStringLiteral("0"));
    return l;
}

TriStateCheckBox* Form3::checkBox(double left, double top) {
    auto* box = new TriStateCheckBox(this);
    box->setGeometry(twipsToPixels(platform_.screen, left, top, 255, 315));
    box->setAttribute(Qt::WA_NoMousePropagation);
    return box;
}

QScrollBar* Form3::scrollBar(double left, double top, int minimum, int maximum) {
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

void Form3::createControls() {
    Image2 = label(90, 90, 1635, 1575);
    Image2->setPixmap(scaledPicture(QStringLiteral(":/images/options/picture.jpg"),
                                    platform_.screen.windowScale()));

    Label13 = linkLabel(1920, 420, 5505, 315, "Opzioni...", 12);
    Label12 = label(7650, 330, 525, 495);
    Label12->setText(QStringLiteral("i"));
    Label12->setFont(programFont(QStringLiteral("Verdana"), 18, true, true));
    Label12->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setTextColour(Label12, Qt::white);

    Check2 = checkBox(1980, 1170);
    Label7 = plainLabel(2280, 1200, "Beep");
    Label3 = plainLabel(4065, 1200, "Tolleranza (0 - 10)");
    Label1 = numberLabel(7080, 1080);
    VScroll1 = scrollBar(7830, 1080, 0, 10);
    Label4 = plainLabel(330, 1950, "Decimi");
    Label2 = numberLabel(7080, 1830);
    VScroll2 = scrollBar(7830, 1830, 2, 20);
    Check1 = checkBox(300, 2610);
    Label5 = plainLabel(600, 2650, "Esecuzione all'avvio");
    Check3 = checkBox(300, 3000);
    Label9 = plainLabel(600, 3040, "Clic centrale");
    Check4 = checkBox(300, 3390);
    Label14 = plainLabel(600, 3435, "Mostra barra anche a destra");
    Label6 = linkLabel(360, 4080, 3135, 315, "Lingua...", 12);
    Label10 = linkLabel(3720, 4080, 4365, 315, "Aggiungi lingua...", 12);
    Label11 = linkLabel(180, 4800, 0, 255, "Controlla se ci sono aggiornamenti...", 11.25);
    Label11->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label11->adjustSize();

    Image1 = label(150, 5310, 1380, 390);
    Image1->setPixmap(scaledPicture(QStringLiteral(":/images/options/donate.gif"),
                                    platform_.screen.windowScale()));
    Image1->setCursor(smileCursor());

    Label8 = label(3420, 5400, 0, 255);
    Label8->setFont(programFont(QStringLiteral("Arial"), 11.25, true, true));
    setTextColour(Label8, QColor(224, 224, 224));

    Command1 = dialogButton(this, QStringLiteral("&Ok"),
                            twipsToPixels(platform_.screen, 5850, 5310, 1155, 465));
    Command2 = dialogButton(this, QStringLiteral("&Annulla"),
                            twipsToPixels(platform_.screen, 7080, 5310, 1155, 465));
    // OK comes first in tab order and has the focus, so Enter confirms.
    setTabOrder(Command1, Command2);
    Command1->setFocus();

    QObject::connect(VScroll1, &QScrollBar::valueChanged, this, [this] { VScroll1_Change(); });
    QObject::connect(VScroll2, &QScrollBar::valueChanged, this, [this] { VScroll2_Change(); });
    QObject::connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    QObject::connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    Label5->onClick = [this] { Label5_Click(); };
    Label7->onClick = [this] { Label7_Click(); };
    Label9->onClick = [this] { Label9_Click(); };
    Label6->onClick = [this] { Label6_Click(); };
    Label10->onClick = [this] { Label10_Click(); };
    Label11->onClick = [this] { Label11_Click(); };
    Label12->onClick = [this] { Label12_Click(); };
    Label13->onClick = [this] { Label13_Click(); };
    Image1->onClick = [this] { Image1_Click(); };
}

void Form3::setScrollValue(QScrollBar* bar, int value) {
    if (value >= bar->minimum() && value <= bar->maximum()) {
        bar->setValue(value);
    }
}

void Form3::setCheckValue(TriStateCheckBox* box, int value) {
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

int Form3::checkValue(const TriStateCheckBox* box) {
    switch (box->checkState()) {
        case Qt::Checked:
            return 1;
        case Qt::PartiallyChecked:
            return 2;
        default:
            return 0;
    }
}

void Form3::Form_Load() {
    // Step 1: topmost, through the window flags. Step 2: the bar's icon.
    setWindowIcon(windows_.bar().windowIcon());
    // Steps 3 and 4: the settings into the controls.
    showSettings();
    Label8->setText(QString::fromStdString(app_.ProductTitle));
    Label8->adjustSize();
    // Step 5: the hand over everything that can be acted on.
    const QCursor hand = handCursor();
    for (QWidget* w : std::initializer_list<QWidget*>{
             Check1, Check2, Check3, Check4, VScroll1, VScroll2, Command1, Command2, Label5, Label6,
             Label7, Label9, Label10, Label11, Label12, Label13}) {
        w->setCursor(hand);
    }
    // Step 6: the texts of the active language.
    windows_.applyTexts();
    // Step 7: used by dwelling, so the left click is in force meanwhile.
    SavedClickMode = app_.ClickMode;
    app_.ClickMode = mode::LeftClick;
}

void Form3::showSettings() {
    // A refused value leaves the control as it was.
    const Settings& s = app_.settings;
    setScrollValue(VScroll1, s.Tolerance);
    setScrollValue(VScroll2, s.Delay);
    setCheckValue(Check1, s.RunAtStartup);
    setCheckValue(Check2, s.SoundOn);
    setCheckValue(Check3, s.MiddleButton);
    setCheckValue(Check4, s.RightEdge);
    // The numbers show the stored values, even refused ones.
    Label1->setText(QString::fromStdString(number(s.Tolerance)));
    Label2->setText(QString::fromStdString(number(s.Delay)));
}

void Form3::mouseMoveEvent(QMouseEvent* /*event*/) {
    Form_MouseMove();
}

void Form3::Form_MouseMove() {
    app_.ClickMode = mode::LeftClick;
}

void Form3::Form_Unload() {
    app_.ClickMode = SavedClickMode;
}

void Form3::VScroll1_Change() {
    Label1->setText(QString::number(VScroll1->value()));
}

void Form3::VScroll2_Change() {
    Label2->setText(QString::number(VScroll2->value()));
}

void Form3::Label5_Click() {
    setCheckValue(Check1, checkValue(Check1) == 1 ? 0 : 1);
}

void Form3::Label7_Click() {
    setCheckValue(Check2, checkValue(Check2) == 1 ? 0 : 1);
}

void Form3::Label9_Click() {
    setCheckValue(Check3, checkValue(Check3) == 1 ? 0 : 1);
}

void Form3::Command1_Click() {
    Settings& s = app_.settings;
    s.Tolerance = static_cast<std::int16_t>(VScroll1->value());
    s.Delay = static_cast<std::int16_t>(VScroll2->value());
    s.RunAtStartup = static_cast<std::int16_t>(checkValue(Check1));
    s.SoundOn = static_cast<std::int16_t>(checkValue(Check2));
    s.MiddleButton = static_cast<std::int16_t>(checkValue(Check3));
    s.RightEdge = static_cast<std::int16_t>(checkValue(Check4));
    // Line 8 is the click mode the program started with.
    writeSettingsFile(app_.settingsPath, s, s.StartMode);
    UpdateStartupEntry(s.RunAtStartup, platform_.programFolder.executablePath(),
                       platform_.startupEntry);
    Form1& bar = windows_.bar();
    bar.layOutLowerButtons();
    bar.fitHeightToButtons();
    app_.BarDwellTicks = 0;
    app_.ClickDwellTicks = 0;
    windows_.destroyForm3();
}

void Form3::Command2_Click() {
    app_.BarDwellTicks = 0;
    app_.ClickDwellTicks = 0;
    windows_.destroyForm3();
}

void Form3::openPage(const char* path) {
    platform_.shell.open(std::string(build::kSiteBase) + path);
}

void Form3::Image1_Click() {
    openPage("donazioni--donation.html");
}

void Form3::Label10_Click() {
    openPage("tindro-mouse-languages.html");
}

void Form3::Label11_Click() {
    openPage("tindro-mouse.html");
}

void Form3::Label12_Click() {
    hide();
    windows_.openAbout();
}

void Form3::Label13_Click() {
    for (const auto& command : mouseSettingsCommands(platform_.shell.currentDesktop())) {
        if (platform_.shell.start(command)) {
            return;
        }
    }
}

void Form3::Label6_Click() {
    pickLanguageFile(app_, platform_, windows_, this);
}

void Form3::paintEvent(QPaintEvent* /*event*/) {
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

void Form3::closeEvent(QCloseEvent* event) {
    event->ignore();
    windows_.destroyForm3();
}

void Form3::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    activateWindow();
    Command1->setFocus();
}

}  // namespace tz
