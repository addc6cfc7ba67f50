#pragma once
#include <QWidget>

#include "unilabel/MessageHook.h"

class QListWidget;

namespace tz {
class UniLabel;
}

namespace tz::example {

class PaintedCanvas;

// A canvas of UniLabels, one or two for each property, beside a list that
// shows their events as they happen.
class ExampleWindow : public QWidget {
  public:
    explicit ExampleWindow(HookErrorReporting reporting);

  private:
    void buildLabels();
    void buildControls(QWidget* side);
    UniLabel* addLabel(const QString& caption, const QRect& geometry);
    void watch(UniLabel* label);
    void logEvent(const QString& text);
    void swapHighlight();

    HookErrorReporting reporting_;
    PaintedCanvas* canvas_ = nullptr;
    QListWidget* log_ = nullptr;
    UniLabel* greek_ = nullptr;
    UniLabel* copy_ = nullptr;
};

}  // namespace tz::example
