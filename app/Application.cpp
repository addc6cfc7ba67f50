#include "app/Application.h"

#include <QApplication>

#include "BuildConfig.h"
#include "app/ProductTitle.h"
#include "bar/Form1.h"
#include "settings/SettingsFile.h"

namespace tz {

Application::Application(Platform& platform, SecondaryWindows& windows) : platform_(platform) {
    state_.ProductTitle =
        buildProductTitle(build::kVersionMajor, build::kVersionMinor, build::kVersionRevision);
    state_.settingsPath = platform.programFolder.folder() + "/" + kSettingsFileName;
    bar_ = std::make_unique<Form1>(state_, platform, windows);
}

Application::~Application() = default;

int Application::run() {
    if (!bar_->Form_Load()) {
        return 0;
    }
    bar_->startSlide();
    return QApplication::exec();
}

}  // namespace tz
