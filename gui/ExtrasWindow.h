#pragma once
#include <QWidget>

#include "core/extras/ExtrasSettings.h"
#include "core/i18n/TextTable.h"
#include "platform/ScreenMetrics.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QScrollBar;

namespace tz {

class ClickableLabel;

// The "More options" window: the countdown beside the pointer and its size,
// the tray icon, the key that pauses clicking, and whether a button pressed
// by hand cancels the waiting click. Looks like the options window and, like
// it, is built to be used by dwelling: every control is big enough to rest on
// and a caption clicked toggles its box. Where presses by hand cannot be
// watched, that option is shown unavailable and its setting kept as it is.
class ExtrasWindow : public QWidget {
    Q_OBJECT

  public:
    explicit ExtrasWindow(ScreenMetrics& screen, bool pressesWatched = true);

    // The preferences into the controls.
    void load(const ExtrasSettings& extras);
    // The captions, title and accessible names from the text table; the
    // window widens when a caption needs it.
    void retranslate(const TextTable& texts);

  signals:
    // OK: the window hides and gives the preferences its controls show.
    void accepted(const tz::ExtrasSettings& extras);
    // Cancel, Esc or the close box: the window hides.
    void cancelled();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    ClickableLabel* caption(double left, double top);
    QCheckBox* checkBox(double left, double top, ClickableLabel* caption);
    void layOut();
    void accept();
    void reject();

    ScreenMetrics& screen_;
    const bool pressesWatched_;
    // Each control's objectName is its member name without the underscore.
    QCheckBox* countdownBox_ = nullptr;
    ClickableLabel* countdownLabel_ = nullptr;
    ClickableLabel* countdownSizeLabel_ = nullptr;
    ClickableLabel* countdownSizeValueLabel_ = nullptr;
    QScrollBar* countdownSizeSlider_ = nullptr;
    QCheckBox* trayBox_ = nullptr;
    ClickableLabel* trayLabel_ = nullptr;
    ClickableLabel* pauseKeyLabel_ = nullptr;
    QComboBox* pauseKeyChoice_ = nullptr;
    QCheckBox* cancelOnPressBox_ = nullptr;
    ClickableLabel* cancelOnPressLabel_ = nullptr;
    QCheckBox* scrollButtonBox_ = nullptr;
    ClickableLabel* scrollButtonLabel_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

}  // namespace tz
