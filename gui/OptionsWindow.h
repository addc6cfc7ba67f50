#pragma once
#include <QWidget>
#include <cstdint>

#include "core/AppState.h"
#include "platform/Platform.h"

class QPushButton;
class QScrollBar;

namespace tz {

class ClickableLabel;
class WindowManager;
class TriStateCheckBox;

// The options window: tolerance, delay, start at logon, sound, the middle-click
// button and the right-edge bar, plus links to the language picker, the about
// window, the desktop's mouse settings, the maker's pages and the "More
// options" window. Built to be used by dwelling: while it shows the left
// click is in force, and closing it gives back the click kind the user chose.
class OptionsWindow : public QWidget {
    Q_OBJECT

  public:
    OptionsWindow(AppState& app, Platform& platform, WindowManager& windows);

    // Runs once when the window is made: the settings, product title and
    // texts into the controls, and the left click in force while it exists.
    void load();
    // The captions, tooltips and title from the text table.
    void retranslate(const TextTable& texts);
    // Copies the six values of Settings into the controls and the two numbers.
    void showSettings();
    // Only the tolerance and the delay of Settings, into their controls.
    void showToleranceAndDelay();
    // Opens the product page, where newer releases are.
    void openProductPage();

  signals:
    // The "More options..." link: the window of the countdown, tray icon and
    // pause key preferences is wanted.
    void moreOptionsRequested();
    // The "Find my settings..." link.
    void findSettingsRequested();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void forceLeftClick();
    void showTolerance();
    void showDelay();
    void toggleStartAtLogon();
    void toggleSound();
    void toggleMiddleButton();
    void accept();
    void reject();
    void openDonationPage();
    void openLanguagesPage();
    void showAbout();
    void openMouseSettings();
    void pickLanguage();

    void createControls();
    ClickableLabel* label(double left, double top, double width, double height);
    ClickableLabel* plainLabel(double left, double top, const char* design);
    ClickableLabel* linkLabel(double left, double top, double width, double height,
                              const char* design, double pointSize);
    TriStateCheckBox* checkBox(double left, double top);
    QScrollBar* scrollBar(double left, double top, int minimum, int maximum);
    ClickableLabel* numberLabel(double left, double top);
    void openPage(const char* path);
    void placeMoreOptionsLinks();

    AppState& app_;
    Platform& platform_;
    WindowManager& windows_;

    // Each control's objectName is its member name without the underscore.
    ClickableLabel* donateButton_ = nullptr;
    ClickableLabel* picture_ = nullptr;
    ClickableLabel* toleranceValueLabel_ = nullptr;
    ClickableLabel* delayValueLabel_ = nullptr;
    ClickableLabel* toleranceLabel_ = nullptr;
    ClickableLabel* delayLabel_ = nullptr;
    ClickableLabel* startAtLogonLabel_ = nullptr;
    ClickableLabel* languageLink_ = nullptr;
    ClickableLabel* soundLabel_ = nullptr;
    ClickableLabel* productTitleLabel_ = nullptr;
    ClickableLabel* middleButtonLabel_ = nullptr;
    ClickableLabel* addLanguageLink_ = nullptr;
    ClickableLabel* productPageLink_ = nullptr;
    ClickableLabel* moreOptionsLink_ = nullptr;
    ClickableLabel* findSettingsLink_ = nullptr;
    ClickableLabel* aboutButton_ = nullptr;
    ClickableLabel* mouseSettingsLink_ = nullptr;
    ClickableLabel* rightEdgeLabel_ = nullptr;
    TriStateCheckBox* startAtLogonBox_ = nullptr;
    TriStateCheckBox* soundBox_ = nullptr;
    TriStateCheckBox* middleButtonBox_ = nullptr;
    TriStateCheckBox* rightEdgeBox_ = nullptr;
    QScrollBar* toleranceSlider_ = nullptr;
    QScrollBar* delaySlider_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

}  // namespace tz
