#pragma once
// The whole set of windows on fakes: the bar, and the options and exit windows
// made by its start-up, as the running program has them.
#include <gtest/gtest.h>

#include <memory>

#include "core/settings/SettingsFile.h"
#include "gui/ClickBar.h"
#include "gui/ExitWindow.h"
#include "gui/OptionsWindow.h"
#include "gui/WindowManager.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/unit/TestDirectory.h"

namespace tz::test {

class WindowManagerTest : public ::testing::Test {
  protected:
    // Starts the program's windows from the given settings file ("": none).
    void start(const std::string& settings = "2\r\n5\r\n0\r\nEnglish.lng\r\n0\r\n0\r\n0\r\n3\r\n") {
        if (!settings.empty()) {
            dir.write(kSettingsFileName, settings);
        }
        app.settingsPath = dir.file(kSettingsFileName);
        fake.programFolder.path = dir.path();
        app.productTitle = "Tindro Zevad Free 1.8.1";
        bar =
            std::make_unique<ClickBar>(app, fake.platform, windows, windows, "http://127.0.0.1:1/");
        windows.setBar(bar.get());
        bar->load();
    }
    // A language file in the program's Lang folder: `texts[i]` on line i.
    void writeLanguage(const std::string& name, const std::vector<std::string>& texts) {
        std::filesystem::create_directories(dir.file("Lang"));
        std::string bytes;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            bytes += "xx " + texts[i] + "\r\n";
        }
        dir.write("Lang/" + name, bytes);
    }
    // The window, made first if it does not exist.
    OptionsWindow& madeOptionsWindow() {
        windows.makeOptionsWindow();
        return *windows.optionsWindow();
    }
    ExitWindow& madeExitWindow() {
        windows.makeExitWindow();
        return *windows.exitWindow();
    }
    std::string settingsLine(int line) {
        const std::string text = dir.read(kSettingsFileName);
        std::size_t begin = 0;
        for (int i = 1; i < line; ++i) {
            begin = text.find("\r\n", begin) + 2;
        }
        return text.substr(begin, text.find("\r\n", begin) - begin);
    }

    TestDirectory dir;
    fake::FakePlatform fake;
    AppState app;
    WindowManager windows{app, fake.platform};
    std::unique_ptr<ClickBar> bar;
};

}  // namespace tz::test
