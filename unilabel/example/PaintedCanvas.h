#pragma once
#include <QWidget>

namespace tz::example {

// The container of the example's labels: it paints diagonal stripes, so a
// transparent label shows what lies beneath it.
class PaintedCanvas : public QWidget {
  public:
    explicit PaintedCanvas(QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace tz::example
