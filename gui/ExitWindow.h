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

// The exit confirmation: yesButton ends the program at once, noButton closes the window and
// gives back the click mode saved when the window was created.
class ExitWindow : public QWidget {
  public:
    ExitWindow(AppState& app, Platform& platform, WindowManager& windows);

    void load();
    // The question, the buttons' captions and the title from the text table.
    void retranslate(const TextTable& texts);
    void forceLeftClick();
    void unload();
    void accept();
    void reject();

    ClickMode savedClickMode = ClickMode::Exit;

    QLabel* background = nullptr;
    QLabel* face = nullptr;
    CtlTransparent* transparentSpot = nullptr;
    QLabel* questionLabel = nullptr;
    QPushButton* yesButton = nullptr;
    QPushButton* noButton = nullptr;

  protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    AppState& app_;
    WindowManager& windows_;
};

}  // namespace tz
