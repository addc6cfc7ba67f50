#pragma once
#include <QPointer>
#include <memory>

#include "core/AppState.h"
#include "core/update/UpdateCheck.h"
#include "gui/SecondaryWindows.h"
#include "platform/Platform.h"

namespace tz {

class Form1;
class Form3;
class Form4;
class frmAbout;

// Owns the options and exit windows. Each is created by the first operation
// that touches it, even a read of its visibility; its load step runs then,
// while it is already reachable here, so texts applied from inside that load
// step reach the window being created.
class ProgramWindows : public SecondaryWindows, public UpdatePrompt {
  public:
    ProgramWindows(AppState& app, Platform& platform);
    ~ProgramWindows() override;

    void setBar(Form1* bar) { bar_ = bar; }
    Form1& bar() { return *bar_; }
    AppState& app() { return app_; }
    Platform& platform() { return platform_; }

    Form3& form3();
    Form4& form4();
    bool form3Exists() const { return form3_ != nullptr; }
    bool form4Exists() const { return form4_ != nullptr; }
    // Destroys the window: its unload step runs, and the next touch creates it anew.
    void destroyForm3();
    void destroyForm4();

    // The about window, opened from the options window in its place; closing
    // it brings the options window back.
    void openAbout();
    void closeAbout();
    frmAbout* about() { return about_.get(); }

    // SecondaryWindows
    bool isOptionsWindowVisible() override;
    bool isExitWindowVisible() override;
    void showOptionsWindow() override;
    void showExitWindow() override;
    void applyTexts() override;
    void showSettingsInForce() override;

    // UpdatePrompt: the question about a newer release, and the product page.
    int ask(const std::string& text, std::uint32_t style, const std::string& title) override;
    void openProductPage() override;

  private:
    AppState& app_;
    Platform& platform_;
    Form1* bar_ = nullptr;
    std::unique_ptr<Form3> form3_;
    std::unique_ptr<Form4> form4_;
    std::unique_ptr<frmAbout> about_;
};

}  // namespace tz
