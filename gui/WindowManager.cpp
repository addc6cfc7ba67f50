#include "gui/WindowManager.h"

#include "gui/AboutWindow.h"
#include "gui/ApplyTexts.h"
#include "gui/ClickBar.h"
#include "gui/ExitWindow.h"
#include "gui/OptionsWindow.h"
#include "gui/UnicodeMessageBox.h"

namespace tz {

ProgramWindows::ProgramWindows(AppState& app, Platform& platform)
    : app_(app), platform_(platform) {}

ProgramWindows::~ProgramWindows() = default;

Form3& ProgramWindows::form3() {
    if (!form3_) {
        form3_ = std::make_unique<Form3>(app_, platform_, *this);
        form3_->Form_Load();
    }
    return *form3_;
}

Form4& ProgramWindows::form4() {
    if (!form4_) {
        form4_ = std::make_unique<Form4>(app_, platform_, *this);
        form4_->Form_Load();
    }
    return *form4_;
}

namespace {

// The window may be destroyed from inside one of its own handlers, so the
// object itself goes at the next turn of the event loop.
template <typename Window>
void destroy(std::unique_ptr<Window>& window) {
    if (!window) {
        return;
    }
    Window* doomed = window.release();
    doomed->Form_Unload();
    doomed->hide();
    doomed->deleteLater();
}

}  // namespace

// Closing a window gives back a click kind without any pointer move, so a
// dwell timer that sleeps until one must look again.
void ProgramWindows::destroyForm3() {
    destroy(form3_);
    if (bar_ != nullptr) {
        bar_->wakeTicking();
    }
}

void ProgramWindows::destroyForm4() {
    destroy(form4_);
    if (bar_ != nullptr) {
        bar_->wakeTicking();
    }
}

void ProgramWindows::openAbout() {
    const QPoint centre = form3().geometry().center();
    if (!about_) {
        about_ = std::make_unique<frmAbout>(app_, platform_, *this);
        about_->Form_Load();
    }
    about_->open(centre);
}

void ProgramWindows::closeAbout() {
    if (about_) {
        frmAbout* doomed = about_.release();
        doomed->hide();
        doomed->deleteLater();
    }
    Form3& options = form3();
    options.show();
    options.raise();
}

bool ProgramWindows::isOptionsWindowVisible() {
    return form3().isVisible();
}

bool ProgramWindows::isExitWindowVisible() {
    return form4().isVisible();
}

void ProgramWindows::showOptionsWindow() {
    Form3& window = form3();
    window.show();
    window.raise();
}

void ProgramWindows::showExitWindow() {
    form4();
    ApplyTexts(*this);
    Form4& window = form4();
    window.show();
    window.raise();
    window.activateWindow();
}

void ProgramWindows::applyTexts() {
    ApplyTexts(*this);
}

void ProgramWindows::showSettingsInForce() {
    // Never creates the window: when it is created matters for the click modes.
    if (form3_) {
        form3_->showSettings();
    }
}

int ProgramWindows::ask(const std::string& text, std::uint32_t style, const std::string& title) {
    quintptr owner = 0;
    return UnicodeMessageBox(text, style, title, "", owner);
}

void ProgramWindows::openProductPage() {
    form3().Label11_Click();
}

}  // namespace tz
