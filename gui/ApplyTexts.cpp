#include "gui/ApplyTexts.h"

#include <QLabel>
#include <QPushButton>
#include <QString>

#include "gui/ClickBar.h"
#include "gui/ExitWindow.h"
#include "gui/OptionsWindow.h"
#include "gui/UnicodeMessageBox.h"
#include "gui/WindowManager.h"
#include "gui/widgets/ClickableLabel.h"
#include "gui/widgets/WindowLook.h"

namespace tz {

namespace {

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

// A label that sizes itself to its text.
void setAutoSizedText(QLabel* label, const std::string& text) {
    label->setText(q(text));
    label->adjustSize();
}

}  // namespace

void ApplyTexts(ProgramWindows& w) {
    const TextTable& t = w.app().texts;
    // Steps 1 to 9: the bar's tooltips.
    w.bar().applyBarTexts();
    // Steps 10 to 24: the options window. Each step reaches the window afresh,
    // because the first one may create it (and its load step applies the
    // texts itself, creating the exit window on the way).
    w.form3().setWindowTitle(literalWindowTitle(q(t[13])));
    setAutoSizedText(w.form3().Label3, t[14] + " (0 - 10)");
    setAutoSizedText(w.form3().Label4, t[15] + " (2 - 20)");
    setAutoSizedText(w.form3().Label5, t[16]);
    w.form3().Label6->setText(q(t[17]));
    setAutoSizedText(w.form3().Label7, t[18]);
    setAutoSizedText(w.form3().Label9, t[23]);
    w.form3().Label10->setText(q(t[24]));
    setAutoSizedText(w.form3().Label11, t[25]);
    w.form3().Label12->setToolTip(literalToolTip(q(t[11])));
    w.form3().Label13->setText(q(t[28]));
    setAutoSizedText(w.form3().Label14, t[30]);
    SetWindowTextUnicode(w.form3().Command1, t[4]);
    SetWindowTextUnicode(w.form3().Command2, t[5]);
    w.form3().Image1->setToolTip(literalToolTip(q(t[3])));
    // Steps 25 to 28: the exit window.
    w.form4().setWindowTitle(literalWindowTitle(q(t[12])));
    setAutoSizedText(w.form4().Label1, t[19]);
    SetWindowTextUnicode(w.form4().Si, t[20]);
    SetWindowTextUnicode(w.form4().No, t[21]);
}

}  // namespace tz
