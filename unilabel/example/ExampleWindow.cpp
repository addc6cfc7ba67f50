#include "unilabel/example/ExampleWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "unilabel/UniLabel.h"
#include "unilabel/example/PaintedCanvas.h"

namespace tz::example {

namespace {

constexpr LabelColor kPaper = rgbColor(255, 250, 215);
constexpr LabelColor kInk = rgbColor(30, 30, 30);
constexpr int kColumn = 270;  // width of one column of labels

// A custom pointer for MousePointer 99: a red ring.
QPixmap ringPointer() {
    QPixmap ring(24, 24);
    ring.fill(Qt::transparent);
    QPainter painter(&ring);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::red, 3));
    painter.drawEllipse(QPointF(12, 12), 9, 9);
    return ring;
}

QString mouseText(const char* event, int button, int shift, float x, float y) {
    return QStringLiteral("%1 Button=%2 Shift=%3 X=%4 Y=%5")
        .arg(QLatin1String(event))
        .arg(button)
        .arg(shift)
        .arg(double(x), 0, 'f', 1)
        .arg(double(y), 0, 'f', 1);
}

}  // namespace

ExampleWindow::ExampleWindow(HookErrorReporting reporting) : reporting_(std::move(reporting)) {
    setWindowTitle(QStringLiteral("UniLabel example"));
    auto* layout = new QHBoxLayout(this);
    canvas_ = new PaintedCanvas(this);
    canvas_->setFixedSize(2 * kColumn + 30, 600);
    canvas_->setProperty(kScaleModeProperty, QStringLiteral("Pixel"));
    layout->addWidget(canvas_);
    auto* side = new QWidget(this);
    layout->addWidget(side, 1);
    buildControls(side);
    buildLabels();
}

void ExampleWindow::buildLabels() {
    const int left = 10;
    const int right = 20 + kColumn;

    // Alignment: 0 left, 2 centred, anything else right.
    for (const auto& [alignment, text, top] :
         {std::tuple{0, "Alignment 0: left", 10}, std::tuple{2, "Alignment 2: centred", 40},
          std::tuple{1, "Alignment 1: right", 70}}) {
        UniLabel* label = addLabel(QString::fromUtf8(text), QRect(left, top, kColumn, 24));
        label->setAlignment(alignment);
        label->setPadding(4, 4, 4, 0);
    }

    UniLabel* wrapped = addLabel(
        QStringLiteral("WordWrap and AutoSize: this caption breaks at word boundaries and the "
                       "label grows to fit it, in height only."),
        QRect(left, 110, kColumn, 10));
    wrapped->setColor(rgbColor(215, 235, 255), kInk);
    wrapped->setWordWrap(true);
    wrapped->setAutoSize(true);

    UniLabel* padded =
        addLabel(QStringLiteral("AutoSize, padding 4, 2, 4, 2"), QRect(right, 10, 0, 0));
    padded->setColor(rgbColor(255, 214, 170), kInk);
    padded->setPadding(4, 2, 4, 2);
    padded->setAutoSize(true);

    UniLabel* serif =
        addLabel(QStringLiteral("Serif, 14 pt, bold italic"), QRect(right, 45, kColumn, 30));
    serif->setFontName(QStringLiteral("DejaVu Serif"));
    serif->setFontSize(14);
    serif->setFontBold(true);
    serif->setFontItalic(true);
    serif->setAutoSize(true);

    UniLabel* lines =
        addLabel(QStringLiteral("FontUnderline and FontStrike"), QRect(right, 80, kColumn, 24));
    lines->setFontUnderline(true);
    lines->setFontStrike(true);
    lines->setForeColor(rgbColor(160, 0, 0));

    UniLabel* clear =
        addLabel(QStringLiteral("BackStyle 0: transparent"), QRect(right, 120, kColumn, 30));
    clear->setBackStyle(0);
    clear->setFontSize(12);
    clear->setFontBold(true);
    clear->setForeColor(rgbColor(0, 70, 140));
    clear->setAutoSize(true);

    UniLabel* arabic =
        addLabel(QString::fromUtf8("مرحبا بالعالم! هذا نص عربي."), QRect(left, 200, kColumn, 28));
    arabic->setRightToLeft(true);
    arabic->setAlignment(1);
    arabic->setFontSize(12);
    UniLabel* hebrew =
        addLabel(QString::fromUtf8("שלום עולם! זהו טקסט בעברית."), QRect(right, 200, kColumn, 28));
    hebrew->setRightToLeft(true);
    hebrew->setAlignment(1);
    hebrew->setFontSize(12);

    greek_ =
        addLabel(QString::fromUtf8("Καλημέρα κόσμε! Ελληνικά."), QRect(left, 240, kColumn, 28));
    greek_->setFontSize(12);
    UniLabel* cjk =
        addLabel(QString::fromUtf8("你好，世界 · こんにちは世界"), QRect(right, 240, kColumn, 28));
    cjk->setFontSize(13);

    UniLabel* highlight = addLabel(QStringLiteral("System colours: highlight and its text"),
                                   QRect(left, 290, kColumn, 26));
    highlight->setColor(systemColor(kColorHighlight), systemColor(kColorHighlightText));
    highlight->setPadding(4, 4, 4, 4);
    UniLabel* tooltip =
        addLabel(QStringLiteral("System colours: tooltip"), QRect(right, 290, kColumn, 26));
    tooltip->setColor(systemColor(kColorInfoBackground), systemColor(kColorInfoText));
    tooltip->setPadding(4, 4, 4, 4);

    addLabel(QStringLiteral("UseMnemonic on: &File && &Edit"), QRect(left, 330, kColumn, 24));
    UniLabel* literal =
        addLabel(QStringLiteral("UseMnemonic off: &File && &Edit"), QRect(right, 330, kColumn, 24));
    literal->setUseMnemonic(false);

    UniLabel* cross =
        addLabel(QStringLiteral("MousePointer 2: a cross"), QRect(left, 370, kColumn, 24));
    cross->setMousePointer(2);
    UniLabel* ring = addLabel(QStringLiteral("MousePointer 99 with a MouseIcon"),
                              QRect(right, 370, kColumn, 24));
    ring->setMouseIcon(ringPointer());
    ring->setMousePointer(99);

    UniLabel* silent = addLabel(QStringLiteral("UseEvents off: this label raises nothing"),
                                QRect(left, 410, kColumn, 24));
    silent->setUseEvents(false);

    copy_ = addLabel(QStringLiteral("Copy: press \"Copy through the property set\""),
                     QRect(left, 460, 2 * kColumn + 10, 40));
    copy_->setColor(rgbColor(235, 235, 235), kInk);
}

void ExampleWindow::buildControls(QWidget* side) {
    auto* column = new QVBoxLayout(side);
    column->addWidget(new QLabel(QStringLiteral("Events, as they happen:"), side));
    log_ = new QListWidget(side);
    log_->setMinimumWidth(360);
    column->addWidget(log_, 1);

    auto* scale = new QComboBox(side);
    scale->addItems(
        {"Twip", "Point", "Pixel", "Character", "Inch", "Millimeter", "Centimeter", "User"});
    scale->setCurrentText(QStringLiteral("Pixel"));
    column->addWidget(
        new QLabel(QStringLiteral("The canvas's ScaleMode (X and Y of the events):"), side));
    column->addWidget(scale);
    connect(scale, &QComboBox::currentTextChanged, this, [this, scale](const QString& mode) {
        canvas_->setProperty(kScaleModeProperty, mode);
        // "User" makes the canvas change to twips.
        scale->setCurrentText(canvas_->property(kScaleModeProperty).toString());
    });

    auto* swap = new QPushButton(QStringLiteral("Change the desktop's highlight colour"), side);
    connect(swap, &QPushButton::clicked, this, &ExampleWindow::swapHighlight);
    column->addWidget(swap);

    auto* copy = new QPushButton(QStringLiteral("Copy through the property set"), side);
    connect(copy, &QPushButton::clicked, this, [this] {
        QVariantMap properties = greek_->writeProperties();
        properties.remove(QStringLiteral("Alignment"));  // a stored set without it: right-aligned
        copy_->readProperties(properties);
        copy_->setColor(rgbColor(235, 235, 235), kInk);
    });
    column->addWidget(copy);

    auto* clear = new QPushButton(QStringLiteral("Clear the list"), side);
    connect(clear, &QPushButton::clicked, log_, &QListWidget::clear);
    column->addWidget(clear);
}

UniLabel* ExampleWindow::addLabel(const QString& caption, const QRect& geometry) {
    auto* label = new UniLabel(reporting_, canvas_);
    label->setGeometry(geometry);
    label->setColor(kPaper, kInk);
    label->setCaption(caption);
    watch(label);
    return label;
}

void ExampleWindow::watch(UniLabel* label) {
    const QString name = label->objectName();
    const auto log = [this, name](const QString& text) { logEvent(name + ": " + text); };
    connect(label, &UniLabel::change, this, [log] { log(QStringLiteral("Change")); });
    connect(label, &UniLabel::click, this,
            [log](int button) { log(QStringLiteral("Click Button=%1").arg(button)); });
    connect(label, &UniLabel::dblClick, this,
            [log](int button) { log(QStringLiteral("DblClick Button=%1").arg(button)); });
    connect(label, &UniLabel::mouseEnter, this, [log] { log(QStringLiteral("MouseEnter")); });
    connect(label, &UniLabel::mouseLeave, this, [log] { log(QStringLiteral("MouseLeave")); });
    connect(label, &UniLabel::mouseDown, this, [log](int button, int shift, float x, float y) {
        log(mouseText("MouseDown", button, shift, x, y));
    });
    connect(label, &UniLabel::mouseUp, this, [log](int button, int shift, float x, float y) {
        log(mouseText("MouseUp", button, shift, x, y));
    });
    connect(label, &UniLabel::mouseMove, this, [log](int button, int shift, float x, float y) {
        log(mouseText("MouseMove", button, shift, x, y));
    });
}

void ExampleWindow::logEvent(const QString& text) {
    log_->addItem(text);
    while (log_->count() > 500) {
        delete log_->takeItem(0);
    }
    log_->scrollToBottom();
}

// The labels with system colours follow the desktop's palette.
void ExampleWindow::swapHighlight() {
    QPalette palette = QApplication::palette();
    const bool green = palette.color(QPalette::Highlight) == QColor(20, 140, 60);
    palette.setColor(QPalette::Highlight, green ? QColor(48, 140, 198) : QColor(20, 140, 60));
    QApplication::setPalette(palette);
}

}  // namespace tz::example
