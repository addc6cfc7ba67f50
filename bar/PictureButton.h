#pragma once
#include <QLabel>
#include <functional>

namespace tz {

// A windowless-looking picture that reports pointer movement over it and
// clicks on it. Shows its picture at its own size.
class PictureButton : public QLabel {
public:
    explicit PictureButton(QWidget* parent);

    std::function<void()> onMouseMove;
    std::function<void()> onClick;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
};

}  // namespace tz
