#pragma once
#include <QImage>
#include <QRegion>
#include <QWidget>
#include <functional>

namespace tz {

// The pixels of `image` whose colour differs from `maskColor`.
QRegion opaqueRegion(const QImage& image, QRgb maskColor);

// A picture with one colour keyed out: pixels of the mask colour are neither
// drawn nor part of the control, so the parent's painting shows through them
// and the parent receives the pointer there.
class CtlTransparent : public QWidget {
  public:
    explicit CtlTransparent(QWidget* parent);

    // Renders the picture unscaled at the top-left corner of a box of the
    // control's present size, at the picture's resolution; the rest of the
    // box takes the window colour.
    void setPicture(const QPixmap& picture);
    void setMaskColor(QRgb color);

    std::function<void()> onClick;

    const QImage& image() const { return image_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void updateMask();

    QImage image_;
    QRgb maskColor_ = qRgb(255, 0, 255);
};

}  // namespace tz
