#include "gui/SettingsFinderWindow.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <algorithm>
#include <cmath>

#include "gui/ClickBar.h"
#include "gui/UnicodeMessageBox.h"
#include "gui/WindowManager.h"
#include "gui/widgets/WindowLook.h"

namespace tz {

namespace {

// The targets' centres as parts of the window's width and height: the
// centre, then near each corner, clockwise from the top left. Far enough
// from the edges that the bar does not come up.
constexpr double kTargetPlaces[SettingsFinderWindow::kTargetCount][2] = {
    {0.5, 0.5}, {0.15, 0.2}, {0.85, 0.2}, {0.85, 0.8}, {0.15, 0.8}};
// Cancel while sampling: on the left, off every way between two targets.
constexpr double kCancelPlace[2] = {0.15, 0.5};
constexpr int kTargetRadius = 45;  // window pixels
constexpr int kButtonWidth = 120;
constexpr int kButtonHeight = 36;
constexpr int kGap = 12;
const QColor kTargetColour(255, 200, 0);

QLabel* textLabel(QWidget* parent, double pointSize, bool wrap) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(programFont(QStringLiteral("Arial"), pointSize, !wrap));
    setTextColour(label, Qt::white);
    label->setWordWrap(wrap);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

QString number(int value) {
    return QString::number(value);
}

}  // namespace

SettingsFinderWindow::SettingsFinderWindow(AppState& app, Platform& platform,
                                           WindowManager& windows)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      app_(app),
      platform_(platform),
      windows_(windows) {
    setDarkBackground(this);
    setMouseTracking(true);
    setWindowIcon(programIcon());
    instruction_ = textLabel(this, 14, true);
    progress_ = textLabel(this, 14, false);
    toleranceLine_ = textLabel(this, 14, false);
    toleranceEffect_ = textLabel(this, 12, true);
    delayLine_ = textLabel(this, 14, false);
    delayEffect_ = textLabel(this, 12, true);
    tooFew_ = textLabel(this, 12, true);
    applyButton_ = dialogButton(this, QStringLiteral("Apply"), {});
    cancelButton_ = dialogButton(this, QStringLiteral("&Cancel"), {});
    const QCursor hand = handCursor();
    applyButton_->setCursor(hand);
    cancelButton_->setCursor(hand);
    for (QWidget* w : std::initializer_list<QWidget*>{toleranceLine_, toleranceEffect_, delayLine_,
                                                      delayEffect_, tooFew_, applyButton_}) {
        w->hide();
    }
    // Names by role, for tests and for accessibility and automation tools.
    const std::pair<QWidget*, const char*> names[] = {
        {instruction_, "instructionLabel"}, {progress_, "progressLabel"},
        {toleranceLine_, "toleranceLine"},  {toleranceEffect_, "toleranceEffect"},
        {delayLine_, "delayLine"},          {delayEffect_, "delayEffect"},
        {tooFew_, "tooFewLabel"},           {applyButton_, "applyButton"},
        {cancelButton_, "cancelButton"}};
    for (const auto& [widget, name] : names) {
        widget->setObjectName(QLatin1String(name));
    }
    QObject::connect(applyButton_, &QPushButton::clicked, this, [this] { apply(); });
    QObject::connect(cancelButton_, &QPushButton::clicked, this, [this] { cancel(); });
    // Used by resting, so the left click is in force meanwhile.
    app_.clickMode = ClickMode::LeftClick;
}

void SettingsFinderWindow::retranslate(const TextTable& t) {
    setWindowTitle(literalWindowTitle(QString::fromStdString(t[TextId::FinderTitle])));
    instruction_->setText(QString::fromStdString(t[TextId::FinderInstruction]));
    tooFew_->setText(QString::fromStdString(t[TextId::FinderTooFewSamples]));
    SetWindowTextUnicode(applyButton_, t[TextId::ApplyCaption]);
    SetWindowTextUnicode(cancelButton_, t[TextId::CancelCaption]);
    if (!sampling_) {
        showSuggestion();
    }
    layOut();
}

QPointF SettingsFinderWindow::targetCentre(int index) const {
    return {kTargetPlaces[index][0] * width(), kTargetPlaces[index][1] * height()};
}

double SettingsFinderWindow::targetRadius() const {
    return kTargetRadius;
}

bool SettingsFinderWindow::onTarget(const QPointF& at, int index) const {
    if (index < 0 || index >= kTargetCount) {
        return false;
    }
    const QPointF d = at - targetCentre(index);
    return std::hypot(d.x(), d.y()) <= kTargetRadius;
}

void SettingsFinderWindow::sample(PointerPosition at) {
    if (!sampling_) {
        return;
    }
    // Screen pixels to this window's pixels, as Qt scales the window.
    const double scale = platform_.screen.windowScale();
    const QPointF here = QPointF(mapFromGlobal(QPoint(
        static_cast<int>(std::lround(at.x / scale)), static_cast<int>(std::lround(at.y / scale)))));
    // On the target just finished the user has not set off yet: neither a
    // hold nor a pause on the way.
    const FinderPhase phase = onTarget(here, target_)       ? FinderPhase::Hold
                              : onTarget(here, target_ - 1) ? FinderPhase::Away
                                                            : FinderPhase::Travel;
    samples_.push_back({at, phase});
    ++targetTicks_;
    if (phase == FinderPhase::Hold && ++heldTicks_ >= kHoldTicks) {
        ++target_;
        heldTicks_ = 0;
        targetTicks_ = 0;
        layOut();
        update();
    }
    if (target_ == kTargetCount || targetTicks_ >= kTargetTicks) {
        finishSampling();
    }
}

void SettingsFinderWindow::finishSampling() {
    sampling_ = false;
    found_ = findSettings(samples_);
    samples_ = {};
    windows_.bar().setTickSampler({});
    instruction_->hide();
    progress_->hide();
    showSuggestion();
    layOut();
    (found_ ? applyButton_ : cancelButton_)->setFocus();
    update();
}

void SettingsFinderWindow::showSuggestion() {
    const TextTable& t = app_.texts;
    tooFew_->setVisible(!found_);
    applyButton_->setVisible(found_.has_value());
    for (QLabel* label : {toleranceLine_, toleranceEffect_, delayLine_, delayEffect_}) {
        label->setVisible(found_.has_value());
    }
    if (!found_) {
        return;
    }
    // Each value as it is now and as suggested, and what the change does.
    const auto line = [](const std::string& caption, int now, int suggested) {
        return QString::fromStdString(caption) + QStringLiteral(":  ") + number(now) +
               QStringLiteral("  \u2192  ") + number(suggested);
    };
    const auto effect = [&t](int now, int suggested, std::size_t larger, std::size_t smaller) {
        return QString::fromStdString(now == suggested  ? t[TextId::NoChange]
                                      : suggested > now ? t[larger]
                                                        : t[smaller]);
    };
    const Settings& s = app_.settings;
    toleranceLine_->setText(line(t[TextId::ToleranceCaption], s.tolerance, found_->tolerance));
    toleranceEffect_->setText(effect(s.tolerance, found_->tolerance, TextId::LargerToleranceEffect,
                                     TextId::SmallerToleranceEffect));
    delayLine_->setText(line(t[TextId::DelayCaption], s.delay, found_->delay));
    delayEffect_->setText(
        effect(s.delay, found_->delay, TextId::LongerDelayEffect, TextId::ShorterDelayEffect));
}

void SettingsFinderWindow::layOut() {
    const int w = width();
    const int h = height();
    const int textWidth = std::min(w - 2 * kGap, 640);
    const int left = (w - textWidth) / 2;
    // Places a label of the text's width at the top, returning the top below it.
    const auto place = [&](QLabel* label, int top) {
        const int labelHeight =
            label->wordWrap() ? label->heightForWidth(textWidth) : label->sizeHint().height();
        label->setGeometry(left, top, textWidth, labelHeight);
        return top + labelHeight + kGap;
    };
    const int buttonWidth = std::max(
        {kButtonWidth, applyButton_->sizeHint().width(), cancelButton_->sizeHint().width()});
    if (sampling_) {
        progress_->setText(number(std::min(target_ + 1, kTargetCount)) + QStringLiteral(" / ") +
                           number(kTargetCount));
        place(progress_, place(instruction_, kGap));
        const QPointF at(kCancelPlace[0] * w, kCancelPlace[1] * h);
        cancelButton_->setGeometry(static_cast<int>(at.x()) - buttonWidth / 2,
                                   static_cast<int>(at.y()) - kButtonHeight / 2, buttonWidth,
                                   kButtonHeight);
        return;
    }
    int top = h / 3;
    if (found_) {
        top = place(delayEffect_,
                    place(delayLine_, place(toleranceEffect_, place(toleranceLine_, top)) + kGap));
        applyButton_->setGeometry(w / 2 - kGap / 2 - buttonWidth, top + kGap, buttonWidth,
                                  kButtonHeight);
        cancelButton_->setGeometry(w / 2 + kGap / 2, top + kGap, buttonWidth, kButtonHeight);
    } else {
        top = place(tooFew_, top);
        cancelButton_->setGeometry((w - buttonWidth) / 2, top + kGap, buttonWidth, kButtonHeight);
    }
}

void SettingsFinderWindow::apply() {
    if (!found_) {
        return;
    }
    Settings& s = app_.settings;
    s.tolerance = static_cast<std::int16_t>(found_->tolerance);
    s.delay = static_cast<std::int16_t>(found_->delay);
    windows_.saveSettings();
    windows_.showFoundSettings();
    cancel();
}

void SettingsFinderWindow::cancel() {
    windows_.bar().engine().resetCounts();
    windows_.closeSettingsFinder();
}

void SettingsFinderWindow::paintEvent(QPaintEvent* /*event*/) {
    if (!sampling_) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre = targetCentre(target_);
    painter.setPen(QPen(Qt::white, 3));
    painter.setBrush(kTargetColour);
    painter.drawEllipse(centre, kTargetRadius, kTargetRadius);
    painter.setBrush(Qt::black);
    painter.drawEllipse(centre, 6, 6);
}

void SettingsFinderWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOut();
}

void SettingsFinderWindow::mouseMoveEvent(QMouseEvent* /*event*/) {
    // A kind chosen on the bar meanwhile gives way to the left click again.
    app_.clickMode = ClickMode::LeftClick;
}

void SettingsFinderWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    cancel();
}

}  // namespace tz
