#pragma once
// UniLabel: a label that draws its Unicode caption itself, with inner padding,
// word wrap, sizing to its text, a transparent background, right-to-left
// reading, optional mnemonic underlines, and mouse events that include the
// pointer entering and leaving. It sees its own window's events, and its
// container's, through the control message hooking service.
// docs/UNILABEL.md describes every property, default and event.
#include <QColor>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QVariantMap>
#include <QWidget>
#include <cstdint>

#include "unilabel/MessageHook.h"

class QMouseEvent;
class QRegion;

namespace tz {

// A colour of the control: a non-negative value is an RGB colour 0x00BBGGRR; a
// negative value names a system colour by its low byte, looked up in the
// desktop's palette.
using LabelColor = std::int32_t;

// The system colours by index (the table in docs/UNILABEL.md gives the palette
// colour each one stands for).
enum SystemColorIndex : int {
    kColorScrollBar = 0,
    kColorDesktop = 1,
    kColorActiveCaption = 2,
    kColorInactiveCaption = 3,
    kColorMenu = 4,
    kColorWindow = 5,
    kColorWindowFrame = 6,
    kColorMenuText = 7,
    kColorWindowText = 8,
    kColorCaptionText = 9,
    kColorActiveBorder = 10,
    kColorInactiveBorder = 11,
    kColorAppWorkspace = 12,
    kColorHighlight = 13,
    kColorHighlightText = 14,
    kColor3DFace = 15,
    kColor3DShadow = 16,
    kColorGrayText = 17,
    kColorButtonText = 18,
    kColorInactiveCaptionText = 19,
    kColor3DHighlight = 20,
    kColor3DDarkShadow = 21,
    kColor3DLight = 22,
    kColorInfoText = 23,
    kColorInfoBackground = 24,
    kColorHotLight = 26,
    kColorGradientActiveCaption = 27,
    kColorGradientInactiveCaption = 28,
    kColorMenuHighlight = 29,
    kColorMenuBar = 30,
};

constexpr LabelColor systemColor(int index) {
    return static_cast<LabelColor>(0x80000000u | static_cast<std::uint32_t>(index & 0xFF));
}

constexpr LabelColor rgbColor(int red, int green, int blue) {
    return (red & 0xFF) | (green & 0xFF) << 8 | (blue & 0xFF) << 16;
}

// The RGB colour a LabelColor stands for now.
QColor resolveLabelColor(LabelColor color);

// The container's scale units, in which the mouse events give X and Y. The
// container names them in its dynamic property "ScaleMode".
enum ScaleUnit : int {
    kScaleUnknown = 0,  // X and Y stay in pixels
    kScaleTwip = 1,
    kScalePoint = 2,
    kScalePixel = 3,
    kScaleCharacter = 4,
    kScaleInch = 5,
    kScaleMillimeter = 6,
    kScaleCentimeter = 7,
};
inline constexpr const char* kScaleModeProperty = "ScaleMode";

class UniLabel : public QWidget {
    Q_OBJECT

  public:
    // Hooking errors go to `reporting`. `name` is the control's name and its
    // first caption; empty gives "UniLabel1", "UniLabel2", ... among its
    // siblings.
    explicit UniLabel(HookErrorReporting reporting, QWidget* parent = nullptr,
                      const QString& name = {});
    ~UniLabel() override;

    // 0 left, 2 centred, any other value right-aligned.
    int alignment() const { return alignment_; }
    void setAlignment(int alignment);
    bool autoSize() const { return autoSize_; }
    void setAutoSize(bool autoSize);
    LabelColor backColor() const { return backColor_; }
    void setBackColor(LabelColor color);
    // 1 opaque, 0 transparent (the container shows through).
    int backStyle() const { return backStyle_; }
    void setBackStyle(int style);
    QString caption() const { return caption_; }
    // Raises change().
    void setCaption(const QString& caption);
    // Font is the widget's font (font(), setFont()); these change one attribute of it.
    QString fontName() const;
    void setFontName(const QString& name);
    float fontSize() const;
    void setFontSize(float points);  // sizes of 0 or less are refused
    bool fontBold() const;
    void setFontBold(bool bold);
    bool fontItalic() const;
    void setFontItalic(bool italic);
    bool fontUnderline() const;
    void setFontUnderline(bool underline);
    bool fontStrike() const;
    void setFontStrike(bool strike);
    LabelColor foreColor() const { return foreColor_; }
    void setForeColor(LabelColor color);
    // The custom pointer picture, shown while mousePointer() is 99.
    QPixmap mouseIcon() const { return mouseIcon_; }
    void setMouseIcon(const QPixmap& icon);
    // The pointer shape by number (table in docs/UNILABEL.md); 0 the container's.
    int mousePointer() const { return mousePointer_; }
    void setMousePointer(int pointer);
    std::uint8_t paddingLeft() const { return paddingLeft_; }
    void setPaddingLeft(std::uint8_t pixels);
    std::uint8_t paddingTop() const { return paddingTop_; }
    void setPaddingTop(std::uint8_t pixels);
    std::uint8_t paddingRight() const { return paddingRight_; }
    void setPaddingRight(std::uint8_t pixels);
    std::uint8_t paddingBottom() const { return paddingBottom_; }
    void setPaddingBottom(std::uint8_t pixels);
    bool rightToLeft() const { return rightToLeft_; }
    void setRightToLeft(bool rightToLeft);
    bool useEvents() const { return useEvents_; }
    void setUseEvents(bool useEvents);
    bool useMnemonic() const { return useMnemonic_; }
    void setUseMnemonic(bool useMnemonic);
    bool wordWrap() const { return wordWrap_; }
    void setWordWrap(bool wordWrap);

    // True while the pointer is over the control, whatever useEvents() says.
    bool mouseOver() const { return mouseOver_; }
    void setColor(LabelColor back, LabelColor fore);
    void setPadding(std::uint8_t left, std::uint8_t top, std::uint8_t right, std::uint8_t bottom);

    // The colours drawn now (system colours looked up in the desktop's palette).
    QColor resolvedBackColor() const { return resolvedBack_; }
    QColor resolvedForeColor() const { return resolvedFore_; }
    // The unit of X and Y in the mouse events (a ScaleUnit).
    int scaleUnit() const { return scaleUnit_; }

    // The property set, by the names "Alignment", "AutoSize", "BackColor",
    // "BackStyle", "Caption" (UTF-8 bytes), "Font", "ForeColor", "MouseIcon",
    // "MousePointer", "PaddingBottom", "PaddingLeft", "PaddingRight",
    // "PaddingTop", "RightToLeft", "UseEvents", "UseMnemonic", "WordWrap".
    // A missing or unusable entry takes its fallback value.
    void readProperties(const QVariantMap& properties);
    QVariantMap writeProperties() const;

    QSize sizeHint() const override;
    bool hasHeightForWidth() const override { return wordWrap_; }
    int heightForWidth(int width) const override;

  signals:
    // Raised only while useEvents() is true. Button: 1 left, 2 right, 4 middle
    // (combined in the Mouse* events: the buttons held after the event).
    // Shift: 1 Shift, 2 Ctrl, 4 Alt, combined. X and Y in the container's scale
    // units.
    void change();
    void click(int button);
    void dblClick(int button);
    void mouseDown(int button, int shift, float x, float y);
    void mouseEnter();
    void mouseLeave();
    void mouseMove(int button, int shift, float x, float y);
    void mouseUp(int button, int shift, float x, float y);

  protected:
    // The label keeps its mouse events from travelling on to the container.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    void hookOwnWindow();
    void hookContainer();
    void hookedMessage(HookedMessage& message);
    void ownMessageBefore(HookedMessage& message);
    void ownMessageAfter(HookedMessage& message);
    void mouseMoved(const QMouseEvent& event);
    void mouseReleased(const QMouseEvent& event);

    void takeScaleUnit();
    void resolveColors();
    void applyBackStyle();
    void applyCursor();
    // Sizes the control to its text when autoSize() is on; redraws it.
    void refreshSize();
    void paintCaption(const QRegion& region);
    int textFlags() const;
    QFont captionFont() const;
    QSize textSize(int width) const;
    float toScaleUnits(double pixels, bool vertical) const;

    MessageHook hook_;
    QPointer<QWidget> hookedContainer_;

    int alignment_ = 0;
    bool autoSize_ = false;
    LabelColor backColor_ = 0;
    int backStyle_ = 1;
    QString caption_;
    LabelColor foreColor_ = 0;
    QPixmap mouseIcon_;
    int mousePointer_ = 0;
    std::uint8_t paddingLeft_ = 0;
    std::uint8_t paddingTop_ = 0;
    std::uint8_t paddingRight_ = 0;
    std::uint8_t paddingBottom_ = 0;
    bool rightToLeft_ = false;
    bool useEvents_ = true;
    bool useMnemonic_ = true;
    bool wordWrap_ = false;

    QColor resolvedBack_;
    QColor resolvedFore_;
    bool mouseOver_ = false;
    int scaleUnit_ = kScaleTwip;
};

}  // namespace tz
