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
class ProgramWindows;
class TriStateCheckBox;

// The options window: tolerance, delay, start at logon, sound, the middle-click
// button and the right-edge bar, plus links to the language picker, the about
// window, the desktop's mouse settings and the maker's pages. Built to be used
// by dwelling: while it exists the left click is in force.
class Form3 : public QWidget {
  public:
    Form3(AppState& app, Platform& platform, ProgramWindows& windows);

    void Form_Load();
    // Copies the six values of Settings into the controls and the two numbers.
    void showSettings();
    void Form_MouseMove();
    void Form_Unload();
    void VScroll1_Change();
    void VScroll2_Change();
    void Label5_Click();
    void Label7_Click();
    void Label9_Click();
    void Command1_Click();
    void Command2_Click();
    void Image1_Click();
    void Label10_Click();
    void Label11_Click();
    void Label12_Click();
    void Label13_Click();
    void Label6_Click();

    // A scroll bar keeps its value when given one outside its range.
    static void setScrollValue(QScrollBar* bar, int value);
    // A check box holds 0, 1 or 2 and refuses anything else.
    static void setCheckValue(TriStateCheckBox* box, int value);
    static int checkValue(const TriStateCheckBox* box);

    std::int16_t SavedClickMode = 0;

    ClickableLabel* Image1 = nullptr;  // donation picture
    ClickableLabel* Image2 = nullptr;  // decoration
    ClickableLabel* Label1 = nullptr;  // tolerance number
    ClickableLabel* Label2 = nullptr;  // delay number
    ClickableLabel* Label3 = nullptr;
    ClickableLabel* Label4 = nullptr;
    ClickableLabel* Label5 = nullptr;
    ClickableLabel* Label6 = nullptr;
    ClickableLabel* Label7 = nullptr;
    ClickableLabel* Label8 = nullptr;
    ClickableLabel* Label9 = nullptr;
    ClickableLabel* Label10 = nullptr;
    ClickableLabel* Label11 = nullptr;
    ClickableLabel* Label12 = nullptr;
    ClickableLabel* Label13 = nullptr;
    ClickableLabel* Label14 = nullptr;
    TriStateCheckBox* Check1 = nullptr;
    TriStateCheckBox* Check2 = nullptr;
    TriStateCheckBox* Check3 = nullptr;
    TriStateCheckBox* Check4 = nullptr;
    QScrollBar* VScroll1 = nullptr;
    QScrollBar* VScroll2 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;

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
    ProgramWindows& windows_;
};

}  // namespace tz
