#include "gui/ExtrasWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>

#include "gui/UnicodeMessageBox.h"
#include "gui/widgets/ClickableLabel.h"
#include "gui/widgets/Twips.h"
#include "gui/widgets/WindowLook.h"

namespace tz {

namespace {

// The design size in twips; a longer caption widens the window.
constexpr double kClientWidth = 7200;
constexpr double kClientHeight = 4100;
// The frame round the controls ends this far above the window's bottom.
constexpr double kFrameBottom = 3380;
constexpr double kMargin = 150;
constexpr int kSizeStep = 8;
const QColor kFrameColour(128, 128, 128);

QString keyName(std::string_view key) {
    return QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

// The name a user reads for an X key name: "Scroll_Lock" reads "Scroll Lock".
QString keyCaption(std::string_view key) {
    return keyName(key).replace(QLatin1Char('_'), QLatin1Char(' '));
}

}  // namespace

ExtrasWindow::ExtrasWindow(ScreenMetrics& screen, bool pressesWatched)
    : QWidget(nullptr, kDialogWindowFlags), screen_(screen), pressesWatched_(pressesWatched) {
    setDarkBackground(this);
    setWindowIcon(programIcon());

    countdownLabel_ = caption(600, 340);
    countdownBox_ = checkBox(300, 300, countdownLabel_);
    countdownSizeLabel_ = caption(330, 840);
    countdownSizeValueLabel_ = new ClickableLabel(this);
    countdownSizeValueLabel_->setFont(programFont(QStringLiteral("Arial Black"), 15.75, true));
    setTextColour(countdownSizeValueLabel_, QColor(255, 0, 0));
    countdownSizeValueLabel_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    countdownSizeValueLabel_->resize(twipsToPixels(screen, 0, 0, 750, 585).size());
    // A scroll bar as in the options window: each click on an arrow is one step.
    countdownSizeSlider_ = new QScrollBar(Qt::Vertical, this);
    countdownSizeSlider_->resize(twipsToPixels(screen, 0, 0, 255, 495).size());
    countdownSizeSlider_->setRange(kCountdownSizeMin, kCountdownSizeMax);
    countdownSizeSlider_->setSingleStep(kSizeStep);
    countdownSizeSlider_->setPageStep(kSizeStep);
    trayLabel_ = caption(600, 1450);
    trayBox_ = checkBox(300, 1410, trayLabel_);
    pauseKeyLabel_ = caption(330, 1890);
    pauseKeyChoice_ = new QComboBox(this);
    pauseKeyChoice_->setFont(programFont(QStringLiteral("Arial"), 9.75));
    for (std::string_view key : kPauseKeyChoices) {
        pauseKeyChoice_->addItem(keyCaption(key), keyName(key));
    }
    cancelOnPressLabel_ = caption(600, 2410);
    cancelOnPressBox_ = checkBox(300, 2370, cancelOnPressLabel_);
    if (!pressesWatched_) {
        cancelOnPressBox_->setEnabled(false);
        cancelOnPressLabel_->setEnabled(false);
        cancelOnPressLabel_->onClick = nullptr;
    }
    scrollButtonLabel_ = caption(600, 2910);
    scrollButtonBox_ = checkBox(300, 2870, scrollButtonLabel_);
    okButton_ = dialogButton(this, QStringLiteral("&OK"), QRect());
    cancelButton_ = dialogButton(this, QStringLiteral("&Cancel"), QRect());

    const std::pair<QWidget*, const char*> names[] = {
        {countdownBox_, "countdownBox"},
        {countdownLabel_, "countdownLabel"},
        {countdownSizeLabel_, "countdownSizeLabel"},
        {countdownSizeValueLabel_, "countdownSizeValueLabel"},
        {countdownSizeSlider_, "countdownSizeSlider"},
        {trayBox_, "trayBox"},
        {trayLabel_, "trayLabel"},
        {pauseKeyLabel_, "pauseKeyLabel"},
        {pauseKeyChoice_, "pauseKeyChoice"},
        {cancelOnPressBox_, "cancelOnPressBox"},
        {cancelOnPressLabel_, "cancelOnPressLabel"},
        {scrollButtonBox_, "scrollButtonBox"},
        {scrollButtonLabel_, "scrollButtonLabel"},
        {okButton_, "okButton"},
        {cancelButton_, "cancelButton"}};
    const QCursor hand = handCursor();
    for (const auto& [widget, name] : names) {
        widget->setObjectName(QLatin1String(name));
        widget->setAttribute(Qt::WA_NoMousePropagation);
        if (qobject_cast<QLabel*>(widget) == nullptr || widget == countdownLabel_ ||
            widget == trayLabel_ || (widget == cancelOnPressLabel_ && pressesWatched_) ||
            widget == scrollButtonLabel_) {
            widget->setCursor(hand);
        }
    }
    setTabOrder(okButton_, cancelButton_);
    okButton_->setFocus();
    QObject::connect(countdownSizeSlider_, &QScrollBar::valueChanged, this, [this](int value) {
        countdownSizeValueLabel_->setText(QString::number(value));
    });
    QObject::connect(okButton_, &QPushButton::clicked, this, [this] { accept(); });
    QObject::connect(cancelButton_, &QPushButton::clicked, this, [this] { reject(); });
    layOut();
}

ClickableLabel* ExtrasWindow::caption(double left, double top) {
    auto* label = new ClickableLabel(this);
    label->move(twipsToPixelsX(screen_, left), twipsToPixelsY(screen_, top));
    // Texts from a language file are shown as written, never as markup.
    label->setTextFormat(Qt::PlainText);
    label->setFont(programFont(QStringLiteral("Arial"), 9.75));
    setTextColour(label, Qt::white);
    return label;
}

QCheckBox* ExtrasWindow::checkBox(double left, double top, ClickableLabel* caption) {
    auto* box = new QCheckBox(this);
    box->setGeometry(twipsToPixels(screen_, left, top, 255, 315));
    caption->onClick = [box] { box->toggle(); };
    return box;
}

void ExtrasWindow::load(const ExtrasSettings& extras) {
    countdownBox_->setChecked(extras.countdownOn);
    countdownSizeSlider_->setValue(extras.countdownSize);
    countdownSizeValueLabel_->setText(QString::number(countdownSizeSlider_->value()));
    trayBox_->setChecked(extras.trayOn);
    cancelOnPressBox_->setChecked(extras.cancelOnPress);
    scrollButtonBox_->setChecked(extras.scrollButton);
    // A key the list does not offer (written by hand in the file) is kept as
    // one more choice, so that OK gives it back unchanged.
    while (pauseKeyChoice_->count() > static_cast<int>(kPauseKeyChoices.size())) {
        pauseKeyChoice_->removeItem(pauseKeyChoice_->count() - 1);
    }
    const QString key = QString::fromStdString(extras.pauseKey);
    int index = pauseKeyChoice_->findData(key);
    if (index < 0) {
        pauseKeyChoice_->addItem(keyCaption(extras.pauseKey), key);
        index = pauseKeyChoice_->count() - 1;
    }
    pauseKeyChoice_->setCurrentIndex(index);
    layOut();
}

void ExtrasWindow::retranslate(const TextTable& t) {
    const auto q = [](const std::string& text) { return QString::fromStdString(text); };
    setWindowTitle(literalWindowTitle(q(t[TextId::MoreOptionsTitle])));
    setAutoSizedText(countdownLabel_, t[TextId::CountdownCaption]);
    setAutoSizedText(countdownSizeLabel_, t[TextId::CountdownSizeCaption] + " (" +
                                              std::to_string(kCountdownSizeMin) + " - " +
                                              std::to_string(kCountdownSizeMax) + ")");
    setAutoSizedText(trayLabel_, t[TextId::TrayCaption]);
    setAutoSizedText(pauseKeyLabel_, t[TextId::PauseKeyCaption]);
    setAutoSizedText(cancelOnPressLabel_,
                     t[TextId::CancelOnPressCaption] +
                         (pressesWatched_ ? "" : " (" + t[TextId::NotInThisSession] + ")"));
    setAutoSizedText(scrollButtonLabel_, t[TextId::ScrollButtonCaption]);
    pauseKeyChoice_->setItemText(pauseKeyChoice_->findData(QString()), q(t[TextId::NoKey]));
    SetWindowTextUnicode(okButton_, t[TextId::OkCaption]);
    SetWindowTextUnicode(cancelButton_, t[TextId::CancelCaption]);
    // A screen reader names each control by the words a sighted user reads
    // on it or beside it.
    const std::pair<QWidget*, QLabel*> names[] = {{countdownBox_, countdownLabel_},
                                                  {countdownLabel_, countdownLabel_},
                                                  {countdownSizeSlider_, countdownSizeLabel_},
                                                  {trayBox_, trayLabel_},
                                                  {trayLabel_, trayLabel_},
                                                  {pauseKeyChoice_, pauseKeyLabel_},
                                                  {cancelOnPressBox_, cancelOnPressLabel_},
                                                  {cancelOnPressLabel_, cancelOnPressLabel_},
                                                  {scrollButtonBox_, scrollButtonLabel_},
                                                  {scrollButtonLabel_, scrollButtonLabel_}};
    for (const auto& [control, label] : names) {
        control->setAccessibleName(label->text());
    }
    countdownSizeValueLabel_->setAccessibleDescription(countdownSizeLabel_->text());
    layOut();
}

void ExtrasWindow::layOut() {
    const auto x = [this](double twips) { return twipsToPixelsX(screen_, twips); };
    const auto y = [this](double twips) { return twipsToPixelsY(screen_, twips); };
    pauseKeyChoice_->resize(std::max(x(2100), pauseKeyChoice_->sizeHint().width()), y(405));
    const QSize size = countdownSizeValueLabel_->size();
    // Each caption, then what stands right of it on its row.
    const std::pair<const QWidget*, int> rows[] = {
        {countdownLabel_, 0},
        {countdownSizeLabel_, size.width() + x(60) + countdownSizeSlider_->width()},
        {trayLabel_, 0},
        {pauseKeyLabel_, pauseKeyChoice_->width()},
        {cancelOnPressLabel_, 0},
        {scrollButtonLabel_, 0}};
    int width = x(kClientWidth);
    for (const auto& [label, beside] : rows) {
        width = std::max(width, label->x() + label->width() + (beside ? x(kMargin) + beside : 0) +
                                    x(2 * kMargin));
    }
    const int right = width - x(2 * kMargin);
    countdownSizeSlider_->move(right - countdownSizeSlider_->width(), y(720));
    countdownSizeValueLabel_->move(countdownSizeSlider_->x() - x(60) - size.width(), y(720));
    pauseKeyChoice_->move(right - pauseKeyChoice_->width(), y(1800));
    okButton_->setGeometry(QRect(width - x(2565), y(3500), x(1155), y(465)));
    cancelButton_->setGeometry(QRect(width - x(1335), y(3500), x(1155), y(465)));
    setFixedSize(width, y(kClientHeight));
    // Centred on the screen.
    move((twipsToPixelsX(screen_, screen_.widthTwips()) - width) / 2,
         (twipsToPixelsY(screen_, screen_.heightTwips()) - height()) / 2);
    update();
}

void ExtrasWindow::accept() {
    ExtrasSettings extras;
    extras.countdownOn = countdownBox_->isChecked();
    extras.countdownSize = countdownSizeSlider_->value();
    extras.trayOn = trayBox_->isChecked();
    extras.pauseKey = pauseKeyChoice_->currentData().toString().toStdString();
    extras.cancelOnPress = cancelOnPressBox_->isChecked();
    extras.scrollButton = scrollButtonBox_->isChecked();
    hide();
    emit accepted(extras);
}

void ExtrasWindow::reject() {
    hide();
    emit cancelled();
}

void ExtrasWindow::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(kFrameColour);
    const int margin = twipsToPixelsX(screen_, kMargin);
    painter.drawRoundedRect(
        QRectF(margin, margin, width() - 2 * margin, twipsToPixelsY(screen_, kFrameBottom) - margin)
            .adjusted(0.5, 0.5, -0.5, -0.5),
        8, 8);
}

void ExtrasWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        reject();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ExtrasWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    reject();
}

void ExtrasWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    activateWindow();
    okButton_->setFocus();
}

}  // namespace tz
