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
class WindowManager;

// The about window: the program's name, its release, a description, the
// maker's home page and the authors, in a panel that rises like film credits.
// It stands in the options window's place while it is open.
class AboutWindow : public QWidget {
  public:
    AboutWindow(AppState& app, Platform& platform, WindowManager& windows);

    void load();
    // Sets the title and texts for this opening and shows the window.
    void open(const QPoint& centre);
    void onScrollTick();
    void openHomePage();

    QLabel* titlePicture = nullptr;
    QLabel* titleLabel = nullptr;
    QLabel* versionLabel = nullptr;
    QFrame* separatorLine = nullptr;
    QWidget* creditsViewport = nullptr;
    QWidget* creditsPanel = nullptr;
    QLabel* descriptionLabel = nullptr;
    QLabel* copyrightLabel = nullptr;
    QLabel* picture = nullptr;
    ClickableLabel* homePageLink = nullptr;
    QLabel* homePageCaption = nullptr;
    QTimer scrollTimer;

    const CreditsScroll& scroll() const { return scroll_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void placePanel();

    AppState& app_;
    Platform& platform_;
    WindowManager& windows_;
    CreditsScroll scroll_;
};

}  // namespace tz
