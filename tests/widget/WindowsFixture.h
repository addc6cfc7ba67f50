#pragma once
// The bar and its windows on fakes, started from a settings file as the running program starts
// them; controls are reached by their objectName.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <functional>

#include "core/settings/SettingsFile.h"
#include "gui/AboutWindow.h"
#include "gui/ClickBar.h"
#include "gui/ExitWindow.h"
#include "gui/OptionsWindow.h"
#include "gui/SettingsFinderWindow.h"
#include "gui/WindowManager.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/unit/TestDirectory.h"

namespace tz::test {

inline const std::string kSettings = "2\r\n5\r\n0\r\nEnglish.lng\r\n0\r\n0\r\n0\r\n3\r\n";

// The control called `name` in `window`; the test fails when there is none.
template <class Control = QWidget>
Control* control(QWidget& window, const char* name) {
    auto* found = window.findChild<Control*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// A mouse event at `at` in `widget`'s own coordinates, delivered as Qt delivers one.
inline void mouse(QWidget* widget, QEvent::Type type, QPointF at, Qt::MouseButton button = {},
                  Qt::MouseButtons held = {}, Qt::KeyboardModifiers modifiers = {}) {
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, held, modifiers);
    QApplication::sendEvent(widget, &event);
}

// A left click in the middle of `widget`.
inline void click(QWidget* widget) {
    const QPointF middle = QRectF(widget->rect()).center();
    mouse(widget, QEvent::MouseButtonPress, middle, Qt::LeftButton, Qt::LeftButton);
    mouse(widget, QEvent::MouseButtonRelease, middle, Qt::LeftButton);
}

// Runs the event loop until `done`, for two seconds at most; the time waited.
inline qint64 waitUntil(const std::function<bool()>& done) {
    QElapsedTimer waited;
    for (waited.start(); !done() && waited.elapsed() < 2000;)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return waited.elapsed();
}

class WindowsTest : public ::testing::Test, public UpdatePrompt {
  protected:
    // Starts the bar and its windows from the given settings file ("": none) and English texts (by
    // default "T0" to "T32").
    bool start(const std::string& settings = kSettings, std::vector<std::string> texts = {}) {
        if (!settings.empty())
            dir.write(kSettingsFileName, settings);
        writeLanguage("English.lng", texts);
        app.settingsPath = dir.file(kSettingsFileName);
        fake.programFolder.path = dir.path();
        app.productTitle = "Tindro Zevad Free 1.8.1";
        bar = std::make_unique<ClickBar>(app, fake.platform, windows, *this, kVersionUrl);
        windows.setBar(bar.get());
        return bar->load();
    }
    // Lang/`name` holding `texts` (by default "T0" to "T32").
    void writeLanguage(const std::string& name, const std::vector<std::string>& texts = {}) {
        std::filesystem::create_directories(dir.file("Lang"));
        std::string language;
        for (int i = 0; i < 33; ++i)
            language += "xx " + (texts.empty() ? "T" + std::to_string(i) : texts[i]) + "\r\n";
        dir.write("Lang/" + name, language);
    }
    // The bar and the three windows (null while one does not exist).
    std::vector<QWidget*> allWindows() {
        return {bar.get(), windows.optionsWindow(), windows.exitWindow(), windows.aboutWindow()};
    }
    OptionsWindow& options() { return *windows.optionsWindow(); }
    // Opens the options window as the bar's options button does.
    OptionsWindow& openOptions() {
        bar->runButtonCommand(ClickMode::Options);
        return *windows.optionsWindow();
    }
    // `ticks` dwell ticks with the pointer at `at`.
    void rest(PointerPosition at, int ticks) {
        fake.pointer.at = at;
        for (int tick = 0; tick < ticks; ++tick) bar->onDwellTick();
    }
    // Target `index` of "Find my settings", on the screen, moved by (dx, dy).
    PointerPosition onTarget(int index, int dx = 0, int dy = 0) {
        SettingsFinderWindow& finder = *windows.settingsFinder();
        const QPoint at =
            finder.mapToGlobal(finder.targetCentre(index).toPoint()) * fake.screen.scale;
        return {at.x() + dx, at.y() + dy};
    }
    // Through "Find my settings" as a user whose hand shakes by `tremor` pixels each way and who
    // pauses `pause` ticks half way to each target, from target `first` on.
    void findSettingsByResting(int tremor, int pause, int first = 0) {
        for (int target = first; target < SettingsFinderWindow::kTargetCount; ++target) {
            if (target > 0) {
                const PointerPosition from = onTarget(target - 1);
                const PointerPosition to = onTarget(target);
                rest({from.x + 60, from.y + 60}, 1);  // off the target just held
                rest({(from.x + to.x) / 2, (from.y + to.y) / 2}, pause + 1);
            }
            for (int tick = 0; tick < SettingsFinderWindow::kHoldTicks; ++tick) {
                const int shake = tick % 2 == 0 ? tremor : -tremor;
                rest(onTarget(target, shake, -shake), 1);
            }
        }
    }
    // The start-up question about a newer release: `whileAsked` runs, then No.
    int ask(const std::string&, std::uint32_t, const std::string&) override {
        whileAsked();
        return 7;
    }
    void openProductPage() override {}

    static constexpr const char* kVersionUrl = "http://127.0.0.1:1/";
    TestDirectory dir;
    fake::FakePlatform fake;
    AppState app;
    WindowManager windows{app, fake.platform};
    std::unique_ptr<ClickBar> bar;
    std::function<void()> whileAsked = [] { ADD_FAILURE() << "an unexpected question"; };
};

}  // namespace tz::test
