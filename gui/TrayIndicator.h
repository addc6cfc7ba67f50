#pragma once
#include <QObject>
#include <QPoint>
#include <QRect>
#include <functional>
#include <memory>

#include "core/AppState.h"
#include "core/i18n/TextTable.h"

class QAction;
class QActionGroup;
class QMenu;
class QSystemTrayIcon;

namespace tz {

// The icon in the desktop's system tray: the picture of the bar button of the
// click kind in force (the pause button's while paused), a tooltip saying the
// same, and a menu to pause, choose the kind, open the options, help and about
// windows, or exit. A rest on the icon opens the menu and a rest on an item
// chooses it, in every click kind and while paused, without a click; a click
// on the icon by hand opens the menu too. Without a system tray nothing shows
// and the program runs the same.
class TrayIndicator : public QObject {
    Q_OBJECT

  public:
    TrayIndicator();
    ~TrayIndicator() override;

    // Shows the icon when `wanted`, in the desktop's system tray now or once
    // one appears; hides it otherwise.
    void setEnabled(bool wanted);
    // The picture, the checked kind, the pause item's text and the tooltip for
    // `mode`; Pause keeps the last kind checked, modes other than Pause and
    // the resting kinds are ignored.
    void showClickMode(ClickMode mode);
    // Where the pointer is (window pixels), for a menu opened where the icon's
    // place is unknown (a status notifier item): Qt's own idea of it is
    // Xwayland's, which stops following the pointer off its windows.
    void setPointerPlace(std::function<QPoint()> place) { pointerPlace_ = std::move(place); }
    // Whether the menu offers the scroll kind (as the bar does its button).
    void offerScroll(bool offered);
    void retranslate(const TextTable& texts);
    // The menu, also for tests (its actions are named by role).
    QMenu* menu() const { return menu_.get(); }

    // Whether a rest at `global` (window pixels) acts here instead of
    // clicking: on the shown icon, and anywhere while the menu is open.
    bool restActsAt(QPoint global) const;
    // A rest at `global`: on the icon it opens the menu beside it, on an item
    // it chooses that item, elsewhere it closes the open menu.
    void actAt(QPoint global);

  signals:
    void pauseToggled();
    void clickModeChosen(tz::ClickMode mode);
    void optionsRequested();
    void helpRequested();
    void aboutRequested();
    void quitRequested();

  private:
    void showState();
    void openMenuBeside(const QRect& icon);
    QAction* addAction(const char* name);

    std::unique_ptr<QMenu> menu_;
    QSystemTrayIcon* icon_ = nullptr;
    QActionGroup* kinds_ = nullptr;
    QAction* pauseAction_ = nullptr;
    QAction* optionsAction_ = nullptr;
    QAction* helpAction_ = nullptr;
    QAction* aboutAction_ = nullptr;
    QAction* quitAction_ = nullptr;
    std::function<QPoint()> pointerPlace_;
    ClickMode kind_ = ClickMode::LeftClick;
    bool paused_ = false;
    TextTable texts_;
};

}  // namespace tz
