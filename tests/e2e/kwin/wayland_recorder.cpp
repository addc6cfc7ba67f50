// The KWin tests' native Wayland window (run with QT_QPA_PLATFORM=wayland): full screen, so a
// place in it is a place on the desktop. Writes one line a button event on standard output,
// "press B X Y" or "release B X Y" (B as X numbers them: 1 left, 2 middle, 3 right), "wheel D X Y"
// (D the vertical angle delta: 120 one wheel click up, -120 one down), and "enter" each time the
// pointer comes onto it.
#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>
#include <cstdio>

namespace {

class Recorder : public QWidget {
  protected:
    void mousePressEvent(QMouseEvent* event) override { report("press", event); }
    // Qt turns a second press in time into a double click: still one press.
    void mouseDoubleClickEvent(QMouseEvent* event) override { report("press", event); }
    void mouseReleaseEvent(QMouseEvent* event) override { report("release", event); }
    void wheelEvent(QWheelEvent* event) override {
        const QPoint place = event->globalPosition().toPoint();
        std::printf("wheel %d %d %d\n", event->angleDelta().y(), place.x(), place.y());
        std::fflush(stdout);
    }
    void enterEvent(QEnterEvent*) override {
        std::puts("enter");
        std::fflush(stdout);
    }

  private:
    static void report(const char* what, QMouseEvent* event) {
        const Qt::MouseButton button = event->button();
        const int number = button == Qt::LeftButton     ? 1
                           : button == Qt::MiddleButton ? 2
                           : button == Qt::RightButton  ? 3
                                                        : 0;
        const QPoint place = event->globalPosition().toPoint();
        std::printf("%s %d %d %d\n", what, number, place.x(), place.y());
        std::fflush(stdout);
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Recorder recorder;
    recorder.setWindowTitle(QStringLiteral("tz-wayland-recorder"));
    recorder.showFullScreen();
    return QApplication::exec();
}
