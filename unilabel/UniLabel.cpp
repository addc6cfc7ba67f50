#include "unilabel/UniLabel.h"

#include <QCursor>
#include <QEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>

namespace tz {

namespace {

// The caller values of the two hooked windows.
constexpr std::intptr_t kOwnWindow = 1;
constexpr std::intptr_t kContainerWindow = 2;

// The mouse pointer number that shows the MouseIcon picture.
constexpr int kCustomPointer = 99;

struct PaletteColor {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The desktop palette colour that stands for each system colour index.
constexpr std::array<std::optional<PaletteColor>, 31> kSystemColors{{
    PaletteColor{QPalette::Active, QPalette::Mid},                // 0 scroll bar
    PaletteColor{QPalette::Active, QPalette::Dark},               // 1 desktop
    PaletteColor{QPalette::Active, QPalette::Highlight},          // 2 active caption
    PaletteColor{QPalette::Inactive, QPalette::Highlight},        // 3 inactive caption
    PaletteColor{QPalette::Active, QPalette::Window},             // 4 menu
    PaletteColor{QPalette::Active, QPalette::Base},               // 5 window
    PaletteColor{QPalette::Active, QPalette::Shadow},             // 6 window frame
    PaletteColor{QPalette::Active, QPalette::WindowText},         // 7 menu text
    PaletteColor{QPalette::Active, QPalette::Text},               // 8 window text
    PaletteColor{QPalette::Active, QPalette::HighlightedText},    // 9 caption text
    PaletteColor{QPalette::Active, QPalette::Button},             // 10 active border
    PaletteColor{QPalette::Inactive, QPalette::Button},           // 11 inactive border
    PaletteColor{QPalette::Active, QPalette::Dark},               // 12 application workspace
    PaletteColor{QPalette::Active, QPalette::Highlight},          // 13 highlight
    PaletteColor{QPalette::Active, QPalette::HighlightedText},    // 14 highlight text
    PaletteColor{QPalette::Active, QPalette::Window},             // 15 3D face
    PaletteColor{QPalette::Active, QPalette::Dark},               // 16 3D shadow
    PaletteColor{QPalette::Disabled, QPalette::Text},             // 17 grey text
    PaletteColor{QPalette::Active, QPalette::WindowText},         // 18 button text
    PaletteColor{QPalette::Inactive, QPalette::HighlightedText},  // 19 inactive caption text
    PaletteColor{QPalette::Active, QPalette::Light},              // 20 3D highlight
    PaletteColor{QPalette::Active, QPalette::Shadow},             // 21 3D dark shadow
    PaletteColor{QPalette::Active, QPalette::Midlight},           // 22 3D light
    PaletteColor{QPalette::Active, QPalette::ToolTipText},        // 23 info text
    PaletteColor{QPalette::Active, QPalette::ToolTipBase},        // 24 info background
    std::nullopt,                                                 // 25 none
    PaletteColor{QPalette::Active, QPalette::Link},               // 26 hot light
    PaletteColor{QPalette::Active, QPalette::Highlight},          // 27 gradient active caption
    PaletteColor{QPalette::Inactive, QPalette::Highlight},        // 28 gradient inactive caption
    PaletteColor{QPalette::Active, QPalette::Highlight},          // 29 menu highlight
    PaletteColor{QPalette::Active, QPalette::Window},             // 30 menu bar
}};

LabelColor rgbOf(const QColor& color) {
    return rgbColor(color.red(), color.green(), color.blue());
}

// The container's background or text colour: the system colour when it is the
// desktop's own, so that it follows the desktop; its RGB value otherwise.
LabelColor containerColor(const QWidget* container, bool background) {
    const QPalette desktop = QGuiApplication::palette();
    const QPalette::ColorRole role =
        background ? (container ? container->backgroundRole() : QPalette::Window)
                   : (container ? container->foregroundRole() : QPalette::WindowText);
    const QColor color = container ? container->palette().color(QPalette::Active, role)
                                   : desktop.color(QPalette::Active, role);
    const int index = role == QPalette::Window       ? kColor3DFace
                      : role == QPalette::WindowText ? kColorButtonText
                                                     : -1;
    if (index >= 0 && color == desktop.color(QPalette::Active, role)) {
        return systemColor(index);
    }
    return rgbOf(color);
}

QString defaultName(const QWidget* container) {
    for (int number = 1;; ++number) {
        const QString name = QStringLiteral("UniLabel%1").arg(number);
        if (!container || !container->findChild<QObject*>(name, Qt::FindDirectChildrenOnly)) {
            return name;
        }
    }
}

int scaleUnitFromName(const QString& name) {
    static const std::array<const char*, 7> kNames{"Twip", "Point",      "Pixel",     "Character",
                                                   "Inch", "Millimeter", "Centimeter"};
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        if (name.compare(QLatin1String(kNames[i]), Qt::CaseInsensitive) == 0) {
            return static_cast<int>(i) + 1;
        }
    }
    return kScaleUnknown;
}

std::optional<Qt::CursorShape> cursorShapeFor(int pointer) {
    switch (pointer) {
        case 1:  // arrow
        case 4:  // icon: no such shape here, the arrow stands in
            return Qt::ArrowCursor;
        case 2:
            return Qt::CrossCursor;
        case 3:
            return Qt::IBeamCursor;
        case 5:   // size
        case 15:  // size all
            return Qt::SizeAllCursor;
        case 6:
            return Qt::SizeBDiagCursor;
        case 7:
            return Qt::SizeVerCursor;
        case 8:
            return Qt::SizeFDiagCursor;
        case 9:
            return Qt::SizeHorCursor;
        case 10:
            return Qt::UpArrowCursor;
        case 11:
            return Qt::WaitCursor;
        case 12:
            return Qt::ForbiddenCursor;
        case 13:
            return Qt::BusyCursor;
        case 14:
            return Qt::WhatsThisCursor;
        default:
            return std::nullopt;
    }
}

// 1 left, 2 right, 4 middle; 0 for any other button.
int buttonBit(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return 1;
        case Qt::RightButton:
            return 2;
        case Qt::MiddleButton:
            return 4;
        default:
            return 0;
    }
}

int heldButtons(Qt::MouseButtons buttons) {
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
           (buttons & Qt::MiddleButton ? 4 : 0);
}

int shiftState(Qt::KeyboardModifiers modifiers) {
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

// Property set entries. A missing entry, or one that does not hold a usable
// value of its kind, gives the fallback.
std::optional<long long> wholeNumberEntry(const QVariantMap& properties, const char* name) {
    const auto found = properties.find(QLatin1String(name));
    if (found == properties.end()) {
        return std::nullopt;
    }
    bool ok = false;
    const long long value = found->toLongLong(&ok);
    return ok ? std::optional<long long>(value) : std::nullopt;
}

int intEntry(const QVariantMap& properties, const char* name, int fallback) {
    const auto value = wholeNumberEntry(properties, name);
    const bool fits = value && *value >= std::numeric_limits<int>::min() &&
                      *value <= std::numeric_limits<int>::max();
    return fits ? static_cast<int>(*value) : fallback;
}

// Colours are 32-bit patterns: stored signed or unsigned, both read back.
LabelColor colorEntry(const QVariantMap& properties, const char* name, LabelColor fallback) {
    const auto value = wholeNumberEntry(properties, name);
    const bool fits = value && *value >= std::numeric_limits<std::int32_t>::min() &&
                      *value <= std::numeric_limits<std::uint32_t>::max();
    return fits ? static_cast<LabelColor>(static_cast<std::uint32_t>(*value)) : fallback;
}

std::uint8_t paddingEntry(const QVariantMap& properties, const char* name) {
    const auto value = wholeNumberEntry(properties, name);
    return value && *value >= 0 && *value <= 255 ? static_cast<std::uint8_t>(*value) : 0;
}

bool boolEntry(const QVariantMap& properties, const char* name, bool fallback) {
    const auto found = properties.find(QLatin1String(name));
    if (found == properties.end() || !found->canConvert<bool>()) {
        return fallback;
    }
    return found->toBool();
}

// The caption is kept as UTF-8 bytes. A string entry is taken as 8-bit
// characters too, unless it holds characters no byte can carry: then it is
// plain text already.
QString captionEntry(const QVariantMap& properties, const QString& fallback) {
    const auto found = properties.find(QStringLiteral("Caption"));
    if (found == properties.end()) {
        return fallback;
    }
    if (found->typeId() == QMetaType::QByteArray) {
        return QString::fromUtf8(found->toByteArray());
    }
    if (found->typeId() == QMetaType::QString) {
        const QString text = found->toString();
        const bool bytes =
            std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() <= 0xFF; });
        return bytes ? QString::fromUtf8(text.toLatin1()) : text;
    }
    return fallback;
}

}  // namespace

QColor resolveLabelColor(LabelColor color) {
    if (color >= 0) {
        return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
    }
    const auto index = static_cast<std::size_t>(color & 0xFF);
    if (index >= kSystemColors.size() || !kSystemColors[index]) {
        return QColor(Qt::black);  // what the desktop answers for an unknown index
    }
    return QGuiApplication::palette().color(kSystemColors[index]->group,
                                            kSystemColors[index]->role);
}

UniLabel::UniLabel(HookErrorReporting reporting, QWidget* parent, const QString& name)
    : QWidget(parent), hook_("UniLabel", std::move(reporting)) {
    setObjectName(name.isEmpty() ? defaultName(parent) : name);
    caption_ = objectName();
    backColor_ = containerColor(parent, true);
    foreColor_ = containerColor(parent, false);
    setMouseTracking(true);  // MouseMove and MouseEnter without a button held
    resolveColors();
    applyBackStyle();
    takeScaleUnit();
    hookOwnWindow();
    refreshSize();
}

// The member hook_ unhooks both windows before the widget itself goes.
UniLabel::~UniLabel() = default;

void UniLabel::setAlignment(int alignment) {
    alignment_ = alignment;
    update();
}

void UniLabel::setAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    refreshSize();
}

void UniLabel::setBackColor(LabelColor color) {
    backColor_ = color;
    resolveColors();
    update();
}

void UniLabel::setBackStyle(int style) {
    backStyle_ = style;
    applyBackStyle();
}

void UniLabel::setCaption(const QString& caption) {
    caption_ = caption;
    refreshSize();
    if (useEvents_) {
        emit change();
    }
}

QString UniLabel::fontName() const {
    return font().family();
}

void UniLabel::setFontName(const QString& name) {
    QFont changed = font();
    changed.setFamily(name);
    setFont(changed);
}

float UniLabel::fontSize() const {
    const QFont current = font();
    if (current.pointSizeF() > 0) {
        return static_cast<float>(current.pointSizeF());
    }
    return static_cast<float>(current.pixelSize() * 72.0 / logicalDpiY());
}

void UniLabel::setFontSize(float points) {
    if (!(points > 0)) {
        return;
    }
    QFont changed = font();
    changed.setPointSizeF(points);
    setFont(changed);
}

bool UniLabel::fontBold() const {
    return font().bold();
}

void UniLabel::setFontBold(bool bold) {
    QFont changed = font();
    changed.setBold(bold);
    setFont(changed);
}

bool UniLabel::fontItalic() const {
    return font().italic();
}

void UniLabel::setFontItalic(bool italic) {
    QFont changed = font();
    changed.setItalic(italic);
    setFont(changed);
}

bool UniLabel::fontUnderline() const {
    return font().underline();
}

void UniLabel::setFontUnderline(bool underline) {
    QFont changed = font();
    changed.setUnderline(underline);
    setFont(changed);
}

bool UniLabel::fontStrike() const {
    return font().strikeOut();
}

void UniLabel::setFontStrike(bool strike) {
    QFont changed = font();
    changed.setStrikeOut(strike);
    setFont(changed);
}

void UniLabel::setForeColor(LabelColor color) {
    foreColor_ = color;
    resolveColors();
    update();
}

void UniLabel::setMouseIcon(const QPixmap& icon) {
    mouseIcon_ = icon;
    applyCursor();
}

void UniLabel::setMousePointer(int pointer) {
    mousePointer_ = pointer;
    applyCursor();
}

void UniLabel::setPaddingLeft(std::uint8_t pixels) {
    paddingLeft_ = pixels;
    refreshSize();
}

void UniLabel::setPaddingTop(std::uint8_t pixels) {
    paddingTop_ = pixels;
    refreshSize();
}

void UniLabel::setPaddingRight(std::uint8_t pixels) {
    paddingRight_ = pixels;
    refreshSize();
}

void UniLabel::setPaddingBottom(std::uint8_t pixels) {
    paddingBottom_ = pixels;
    refreshSize();
}

void UniLabel::setRightToLeft(bool rightToLeft) {
    rightToLeft_ = rightToLeft;
    update();
}

void UniLabel::setUseEvents(bool useEvents) {
    useEvents_ = useEvents;
}

void UniLabel::setUseMnemonic(bool useMnemonic) {
    useMnemonic_ = useMnemonic;
    refreshSize();
}

void UniLabel::setWordWrap(bool wordWrap) {
    wordWrap_ = wordWrap;
    refreshSize();
}

void UniLabel::setColor(LabelColor back, LabelColor fore) {
    backColor_ = back;
    foreColor_ = fore;
    resolveColors();
    update();
}

void UniLabel::setPadding(std::uint8_t left, std::uint8_t top, std::uint8_t right,
                          std::uint8_t bottom) {
    paddingLeft_ = left;
    paddingTop_ = top;
    paddingRight_ = right;
    paddingBottom_ = bottom;
    refreshSize();
}

void UniLabel::readProperties(const QVariantMap& properties) {
    const QWidget* container = parentWidget();
    alignment_ = intEntry(properties, "Alignment", 3);  // a stored set without it: right
    autoSize_ = boolEntry(properties, "AutoSize", false);
    backColor_ = colorEntry(properties, "BackColor", containerColor(container, true));
    backStyle_ = intEntry(properties, "BackStyle", 1);
    caption_ = captionEntry(properties, objectName());
    const QVariant font = properties.value(QStringLiteral("Font"));
    setFont(font.typeId() == QMetaType::QFont ? font.value<QFont>()
                                              : QFont());  // QFont(): the container's
    foreColor_ = colorEntry(properties, "ForeColor", containerColor(container, false));
    if (const QVariant icon = properties.value(QStringLiteral("MouseIcon"));
        icon.typeId() == QMetaType::QPixmap) {
        mouseIcon_ = icon.value<QPixmap>();
    }
    mousePointer_ = intEntry(properties, "MousePointer", mousePointer_);
    paddingBottom_ = paddingEntry(properties, "PaddingBottom");
    paddingLeft_ = paddingEntry(properties, "PaddingLeft");
    paddingRight_ = paddingEntry(properties, "PaddingRight");
    paddingTop_ = paddingEntry(properties, "PaddingTop");
    rightToLeft_ = boolEntry(properties, "RightToLeft", false);
    useEvents_ = boolEntry(properties, "UseEvents", true);
    useMnemonic_ = boolEntry(properties, "UseMnemonic", true);
    wordWrap_ = boolEntry(properties, "WordWrap", false);

    resolveColors();
    applyBackStyle();
    applyCursor();
    takeScaleUnit();
    refreshSize();
}

QVariantMap UniLabel::writeProperties() const {
    return {
        {QStringLiteral("Alignment"), alignment_},
        {QStringLiteral("AutoSize"), autoSize_},
        {QStringLiteral("BackColor"), backColor_},
        {QStringLiteral("BackStyle"), backStyle_},
        {QStringLiteral("Caption"), caption_.toUtf8()},
        {QStringLiteral("Font"), font()},
        {QStringLiteral("ForeColor"), foreColor_},
        {QStringLiteral("MouseIcon"), mouseIcon_},
        {QStringLiteral("MousePointer"), mousePointer_},
        {QStringLiteral("PaddingBottom"), int{paddingBottom_}},
        {QStringLiteral("PaddingLeft"), int{paddingLeft_}},
        {QStringLiteral("PaddingRight"), int{paddingRight_}},
        {QStringLiteral("PaddingTop"), int{paddingTop_}},
        {QStringLiteral("RightToLeft"), rightToLeft_},
        {QStringLiteral("UseEvents"), useEvents_},
        {QStringLiteral("UseMnemonic"), useMnemonic_},
        {QStringLiteral("WordWrap"), wordWrap_},
    };
}

QSize UniLabel::sizeHint() const {
    const int paddingWidth = paddingLeft_ + paddingRight_;
    return textSize(width() - paddingWidth) + QSize(paddingWidth, paddingTop_ + paddingBottom_);
}

int UniLabel::heightForWidth(int width) const {
    return textSize(width - paddingLeft_ - paddingRight_).height() + paddingTop_ + paddingBottom_;
}

void UniLabel::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void UniLabel::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
}

void UniLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
}

void UniLabel::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
}

void UniLabel::hookOwnWindow() {
    // The handle makes the label a native child window, as a hooked window must be.
    setAttribute(Qt::WA_NativeWindow);
    const quintptr handle = winId();
    if (!hook_.hookWindow(handle, kOwnWindow, [this](HookedMessage& m) { hookedMessage(m); })) {
        return;
    }
    hook_.addMessages(handle, kHookBefore, {QEvent::MouseButtonPress, QEvent::Paint});
    hook_.addMessages(handle, kHookAfter,
                      {QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease, QEvent::MouseMove,
                       QEvent::Leave, QEvent::Show, QEvent::Resize, QEvent::FontChange,
                       QEvent::ParentChange, QEvent::PaletteChange,
                       QEvent::ApplicationPaletteChange, QEvent::StyleChange, QEvent::ThemeChange});
}

// The container is hooked for its dynamic property changes, which carry its
// scale mode. Its painting needs no hook: the toolkit paints a transparent
// child over the container's own painting, and paints it again whenever the
// container repaints beneath it.
void UniLabel::hookContainer() {
    QWidget* container = parentWidget();
    if (container == hookedContainer_) {
        return;
    }
    if (hookedContainer_) {
        hook_.unhookWindow(hookedContainer_.data());
    }
    hookedContainer_ = nullptr;
    if (!container) {
        return;
    }
    const quintptr handle = container->winId();
    if (hook_.hookWindow(handle, kContainerWindow,
                         [this](HookedMessage& m) { hookedMessage(m); }) &&
        hook_.addMessages(handle, kHookAfter, {QEvent::DynamicPropertyChange})) {
        hookedContainer_ = container;
    }
}

void UniLabel::hookedMessage(HookedMessage& message) {
    if (message.callerValue == kContainerWindow) {
        if (message.event->type() == QEvent::DynamicPropertyChange &&
            static_cast<QDynamicPropertyChangeEvent*>(message.event)->propertyName() ==
                kScaleModeProperty) {
            takeScaleUnit();
        }
    } else if (message.before) {
        ownMessageBefore(message);
    } else {
        ownMessageAfter(message);
    }
}

void UniLabel::ownMessageBefore(HookedMessage& message) {
    if (message.event->type() == QEvent::Paint) {
        paintCaption(static_cast<QPaintEvent*>(message.event)->region());
        message.handled = true;
        return;
    }
    if (message.event->type() != QEvent::MouseButtonPress) {
        return;
    }
    const auto* mouse = static_cast<QMouseEvent*>(message.event);
    if (useEvents_ && buttonBit(mouse->button()) != 0) {
        const QPointF at = mouse->position();
        emit mouseDown(heldButtons(mouse->buttons()), shiftState(mouse->modifiers()),
                       toScaleUnits(at.x(), false), toScaleUnits(at.y(), true));
    }
}

void UniLabel::ownMessageAfter(HookedMessage& message) {
    switch (message.event->type()) {
        case QEvent::MouseMove:
            mouseMoved(*static_cast<QMouseEvent*>(message.event));
            break;
        case QEvent::MouseButtonRelease:
            mouseReleased(*static_cast<QMouseEvent*>(message.event));
            break;
        case QEvent::MouseButtonDblClick:
            if (const int button = buttonBit(static_cast<QMouseEvent*>(message.event)->button());
                useEvents_ && button != 0) {
                emit dblClick(button);
            }
            break;
        case QEvent::Leave:
            if (mouseOver_) {
                mouseOver_ = false;
                if (useEvents_) {
                    emit mouseLeave();
                }
            }
            break;
        case QEvent::Show:
            hookContainer();
            break;
        case QEvent::ParentChange:
            hookContainer();
            takeScaleUnit();
            break;
        case QEvent::Resize:
            if (autoSize_) {
                refreshSize();
            }
            break;
        case QEvent::FontChange:
            refreshSize();
            break;
        case QEvent::PaletteChange:
        case QEvent::ApplicationPaletteChange:
        case QEvent::StyleChange:
        case QEvent::ThemeChange:
            if (backColor_ < 0 || foreColor_ < 0) {
                resolveColors();
                update();
            }
            break;
        default:
            break;
    }
}

void UniLabel::mouseMoved(const QMouseEvent& event) {
    const QPointer<UniLabel> alive(this);  // a handler may end the label
    const QPointF at = event.position();
    if (!mouseOver_ && rect().contains(at.toPoint())) {
        mouseOver_ = true;
        if (useEvents_) {
            emit mouseEnter();
        }
    }
    if (alive && useEvents_) {
        emit mouseMove(heldButtons(event.buttons()), shiftState(event.modifiers()),
                       toScaleUnits(at.x(), false), toScaleUnits(at.y(), true));
    }
}

void UniLabel::mouseReleased(const QMouseEvent& event) {
    const int button = buttonBit(event.button());
    if (!useEvents_ || button == 0) {
        return;
    }
    const QPointer<UniLabel> alive(this);
    const QPointF at = event.position();
    emit mouseUp(heldButtons(event.buttons()), shiftState(event.modifiers()),
                 toScaleUnits(at.x(), false), toScaleUnits(at.y(), true));
    if (alive && useEvents_ && rect().contains(at.toPoint())) {
        emit click(button);
    }
}

void UniLabel::takeScaleUnit() {
    QWidget* container = parentWidget();
    const QVariant mode = container ? container->property(kScaleModeProperty) : QVariant();
    if (!mode.isValid()) {
        scaleUnit_ = kScaleTwip;  // the unit of the program's window geometry
        return;
    }
    const QString name = mode.toString();
    if (name.compare(QLatin1String("User"), Qt::CaseInsensitive) == 0) {
        // A user scale has no fixed size: the container changes to twips.
        scaleUnit_ = kScaleTwip;
        container->setProperty(kScaleModeProperty, QStringLiteral("Twip"));
        return;
    }
    scaleUnit_ = scaleUnitFromName(name);
}

void UniLabel::resolveColors() {
    resolvedBack_ = resolveLabelColor(backColor_);
    resolvedFore_ = resolveLabelColor(foreColor_);
}

void UniLabel::applyBackStyle() {
    // Opaque: the label fills itself, nothing beneath needs painting.
    // Transparent: the container's painting shows through.
    setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent, backStyle_ != 0);
    update();
}

void UniLabel::applyCursor() {
    if (mousePointer_ == kCustomPointer && !mouseIcon_.isNull()) {
        setCursor(QCursor(mouseIcon_));
    } else if (const auto shape = cursorShapeFor(mousePointer_)) {
        setCursor(*shape);
    } else {
        unsetCursor();
    }
}

void UniLabel::refreshSize() {
    updateGeometry();
    if (autoSize_) {
        const int paddingWidth = paddingLeft_ + paddingRight_;
        const int paddingHeight = paddingTop_ + paddingBottom_;
        const QSize text = textSize(width() - paddingWidth);
        if (wordWrap_) {
            if (text.height() + paddingHeight != height()) {
                resize(width(), text.height() + paddingHeight);
            }
        } else if (const QSize fitted = text + QSize(paddingWidth, paddingHeight);
                   fitted != size()) {
            resize(fitted);
        }
    }
    update();
}

void UniLabel::paintCaption(const QRegion& region) {
    if (!region.intersects(rect())) {
        return;
    }
    QPainter painter(this);
    if (backStyle_ != 0) {
        painter.fillRect(rect(), resolvedBack_);
    }
    if (caption_.isEmpty()) {
        return;
    }
    painter.setFont(captionFont());
    painter.setPen(resolvedFore_);
    painter.setLayoutDirection(rightToLeft_ ? Qt::RightToLeft : Qt::LeftToRight);
    const QRect text = rect().adjusted(paddingLeft_, paddingTop_, -paddingRight_, -paddingBottom_);
    painter.drawText(text, textFlags(), caption_);
}

// Text sits at the top of its rectangle. The alignment is absolute: right to
// left changes the reading order, not the side the text keeps to.
int UniLabel::textFlags() const {
    int flags = Qt::AlignTop | Qt::AlignAbsolute;
    flags |= alignment_ == 0 ? Qt::AlignLeft : alignment_ == 2 ? Qt::AlignHCenter : Qt::AlignRight;
    if (useMnemonic_) {
        flags |= Qt::TextShowMnemonic;
    }
    if (wordWrap_) {
        flags |= Qt::TextWordWrap;
    } else {
        flags |= Qt::TextSingleLine;
        if (autoSize_) {
            flags |= Qt::TextDontClip;
        }
    }
    return flags;
}

// The font the caption is drawn with: the point size rounded to a whole
// number, halves to even (10.5 draws at 10 points, 11.5 at 12), as a whole
// pixel height at the label's dots per inch.
QFont UniLabel::captionFont() const {
    QFont drawn = font();
    if (const double points = std::nearbyint(drawn.pointSizeF()); points > 0) {
        drawn.setPixelSize(std::max(1, static_cast<int>(std::lround(points * logicalDpiY() / 72))));
    }
    return drawn;
}

// The caption's size with the control's font, wrapped to `width` when
// wordWrap() is on.
QSize UniLabel::textSize(int width) const {
    const QFontMetrics metrics(captionFont());
    return metrics.boundingRect(QRect(0, 0, std::max(width, 0), 0), textFlags(), caption_).size();
}

float UniLabel::toScaleUnits(double pixels, bool vertical) const {
    const double twips = pixels * 1440.0 / (vertical ? logicalDpiY() : logicalDpiX());
    switch (scaleUnit_) {
        case kScaleTwip:
            return static_cast<float>(twips);
        case kScalePoint:
            return static_cast<float>(twips / 20.0);
        case kScaleCharacter:  // 120 twips wide, 240 twips high
            return static_cast<float>(twips / (vertical ? 240.0 : 120.0));
        case kScaleInch:
            return static_cast<float>(twips / 1440.0);
        case kScaleMillimeter:
            return static_cast<float>(twips / 1440.0 * 25.4);
        case kScaleCentimeter:
            return static_cast<float>(twips / 1440.0 * 2.54);
        default:  // pixels, or a unit nobody knows
            return static_cast<float>(pixels);
    }
}

}  // namespace tz
