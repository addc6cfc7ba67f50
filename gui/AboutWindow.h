#pragma once
#include <QTimer>
#include <QWidget>

#include "core/AppState.h"
#include "core/about/CreditsScroll.h"
#include "platform/Platform.h"

class QLabel;
class QFrame;
class QPushButton;

namespace tz {

class ClickableLabel;
class WindowManager;

// The about window: the program's name, its release, a description, the
// maker's home page and the authors, in a panel that rises like film credits.
// Opened from the options window it stands in that window's place while open;
// from the tray, in the middle of the screen.
class AboutWindow : public QWidget {
  public:
    AboutWindow(AppState& app, Platform& platform, WindowManager& windows);

    // Runs once when the window is made: the credits start rising.
    void load();
    // Sets the title and texts for this opening and shows the window.
    void open(const QPoint& centre);

  protected:
    void closeEvent(QCloseEvent* event) override;
    // Esc closes the window as its close box does.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void onScrollTick();
    void openHomePage();
    void placePanel();

    AppState& app_;
    Platform& platform_;
    WindowManager& windows_;
    CreditsScroll scroll_;
    QTimer scrollTimer_;

    // Each control's objectName is its member name without the underscore.
    QLabel* titlePicture_ = nullptr;
    QLabel* titleLabel_ = nullptr;
    QLabel* versionLabel_ = nullptr;
    QFrame* separatorLine_ = nullptr;
    QWidget* creditsViewport_ = nullptr;
    QWidget* creditsPanel_ = nullptr;
    QLabel* descriptionLabel_ = nullptr;
    QLabel* copyrightLabel_ = nullptr;
    QLabel* picture_ = nullptr;
    ClickableLabel* homePageLink_ = nullptr;
    QLabel* homePageCaption_ = nullptr;
    QPushButton* closeButton_ = nullptr;
};

}  // namespace tz
