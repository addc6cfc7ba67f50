#pragma once
#include <QTimer>
#include <QWidget>

#include "core/AppState.h"
#include "core/about/CreditsScroll.h"
#include "platform/Platform.h"

class QLabel;
class QFrame;

namespace tz {

class ClickableLabel;
class ProgramWindows;

// The about window: the program's name, its release, a description, the
// maker's home page and the authors, in a panel that rises like film credits.
// It stands in the options window's place while it is open.
class frmAbout : public QWidget {
  public:
    frmAbout(AppState& app, Platform& platform, ProgramWindows& windows);

    void Form_Load();
    // Sets the title and texts for this opening and shows the window.
    void open(const QPoint& centre);
    void Timer1_Timer();
    void lblHomePage_Click();

    QLabel* imgTitle = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QFrame* Frame1 = nullptr;
    QWidget* Picture1 = nullptr;
    QWidget* Picture2 = nullptr;
    QLabel* lblDescription = nullptr;
    QLabel* lblCopyright = nullptr;
    QLabel* Image1 = nullptr;
    ClickableLabel* lblHomePage = nullptr;
    QLabel* lblHomePageCap = nullptr;
    QTimer Timer1;

    const CreditsScroll& scroll() const { return scroll_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void placePanel();

    AppState& app_;
    Platform& platform_;
    ProgramWindows& windows_;
    CreditsScroll scroll_;
};

}  // namespace tz
