#pragma once
#include <QWidget>
#include <cstdint>

#include "core/AppState.h"
#include "platform/Platform.h"

class QCheckBox;
class QPushButton;
class QScrollBar;

namespace tz {

class ClickableLabel;
class WindowManager;
class TriStateCheckBox;

// The options window: tolerance, delay, start at logon, sound, the middle-click
// button and the right-edge bar, plus links to the language picker, the about
// window, the desktop's mouse settings and the maker's pages. Built to be used
// by dwelling: while it exists the left click is in force.
class OptionsWindow : public QWidget {
  public:
    OptionsWindow(AppState& app, Platform& platform, WindowManager& windows);

    void load();
    // The captions, tooltips and title from the text table.
    void retranslate(const TextTable& texts);
    // Copies the six values of Settings into the controls and the two numbers.
    void showSettings();
    void forceLeftClick();
    void unload();
    void showTolerance();
    void showDelay();
    void toggleStartAtLogon();
    void toggleSound();
    void toggleMiddleButton();
    void accept();
    void reject();
    void openDonationPage();
    void openLanguagesPage();
    void openProductPage();
    void showAbout();
    void openMouseSettings();
    void pickLanguage();

    // A scroll bar keeps its value when given one outside its range.
    static void setScrollValue(QScrollBar* bar, int value);
    // A check box holds 0, 1 or 2 and refuses anything else.
    static void setCheckValue(TriStateCheckBox* box, int value);
    static int checkValue(const TriStateCheckBox* box);

    ClickMode savedClickMode = ClickMode::Exit;

    ClickableLabel* donateButton = nullptr;         // donation picture
    ClickableLabel* picture = nullptr;              // decoration
    ClickableLabel* toleranceValueLabel = nullptr;  // tolerance number
    ClickableLabel* delayValueLabel = nullptr;      // delay number
    ClickableLabel* toleranceLabel = nullptr;
    ClickableLabel* delayLabel = nullptr;
    ClickableLabel* startAtLogonLabel = nullptr;
    ClickableLabel* languageLink = nullptr;
    ClickableLabel* soundLabel = nullptr;
    ClickableLabel* productTitleLabel = nullptr;
    ClickableLabel* middleButtonLabel = nullptr;
    ClickableLabel* addLanguageLink = nullptr;
    ClickableLabel* productPageLink = nullptr;
    ClickableLabel* aboutButton = nullptr;
    ClickableLabel* mouseSettingsLink = nullptr;
    ClickableLabel* rightEdgeLabel = nullptr;
    TriStateCheckBox* startAtLogonBox = nullptr;
    TriStateCheckBox* soundBox = nullptr;
    TriStateCheckBox* middleButtonBox = nullptr;
    TriStateCheckBox* rightEdgeBox = nullptr;
    QScrollBar* toleranceSlider = nullptr;
    QScrollBar* delaySlider = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void createControls();
    ClickableLabel* label(double left, double top, double width, double height);
    ClickableLabel* plainLabel(double left, double top, const char* design);
    ClickableLabel* linkLabel(double left, double top, double width, double height,
                              const char* design, double pointSize);
    TriStateCheckBox* checkBox(double left, double top);
    QScrollBar* scrollBar(double left, double top, int minimum, int maximum);
    ClickableLabel* numberLabel(double left, double top);
    void openPage(const char* path);

    AppState& app_;
    Platform& platform_;
    WindowManager& windows_;
};

}  // namespace tz
