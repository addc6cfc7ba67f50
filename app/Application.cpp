#include "app/Application.h"

#include <QApplication>

#include "BuildConfig.h"
#include "core/ProductTitle.h"
#include "core/settings/SettingsFile.h"
#include "core/settings/SettingsLocation.h"
#include "gui/ClickBar.h"

namespace tz {

Application::Application(Platform& platform, const std::string& versionUrl)
    : windows_(state_, platform) {
    // The product title and where the settings live, before any window.
    state_.productTitle =
        buildProductTitle(build::kVersionMajor, build::kVersionMinor, build::kVersionRevision);
    state_.settingsPath = settingsPathFor(platform.programFolder.folder());
    bar_ = std::make_unique<ClickBar>(state_, platform, windows_, windows_, versionUrl);
    windows_.setBar(bar_.get());
}

Application::~Application() = default;

int Application::run() {
    if (!bar_->load()) {
        return 0;
    }
    bar_->startSlide();
    return QApplication::exec();
}

}  // namespace tz
