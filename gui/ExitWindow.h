#pragma once
#include <QWidget>
#include <cstdint>

#include "core/AppState.h"
#include "platform/Platform.h"

class QLabel;
class QPushButton;

namespace tz {

class CtlTransparent;
class ClickableLabel;
class WindowManager;

// The exit confirmation: Yes ends the program at once, No closes the window
// (and the window manager gives back the click kind the user chose).
class ExitWindow : public QWidget {
  public:
    ExitWindow(AppState& app, Platform& platform, WindowManager& windows);

    // Runs once when the window is made: the face keyed out, and the left
    // click in force while the window exists.
    void load();
    // The question, the buttons' captions and the title from the text table.
    void retranslate(const TextTable& texts);

  protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void forceLeftClick();
    void accept();
    void reject();

    AppState& app_;
    WindowManager& windows_;

    // Each control's objectName is its member name without the underscore.
    QLabel* background_ = nullptr;
    QLabel* face_ = nullptr;
    CtlTransparent* transparentSpot_ = nullptr;
    QLabel* questionLabel_ = nullptr;
    QPushButton* yesButton_ = nullptr;
    QPushButton* noButton_ = nullptr;
};

}  // namespace tz
