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
class ProgramWindows;

// The exit confirmation: Si ends the program at once, No closes the window and
// gives back the click mode saved when the window was created.
class Form4 : public QWidget {
  public:
    Form4(AppState& app, Platform& platform, ProgramWindows& windows);

    void Form_Load();
    void Form_MouseMove();
    void Form_Unload();
    void Si_Click();
    void No_Click();

    std::int16_t SavedClickMode = 0;

    QLabel* Image2 = nullptr;
    QLabel* Image1 = nullptr;
    CtlTransparent* ctlTransparent1 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* Si = nullptr;
    QPushButton* No = nullptr;

  protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    AppState& app_;
    ProgramWindows& windows_;
};

}  // namespace tz
