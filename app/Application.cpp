#include "app/Application.h"

#include <QApplication>

#include "BuildConfig.h"
#include "app/TerminationSignals.h"
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
    // Ending on a signal lets go of a drag's held button first; a signal during
    // start-up (while it asks about an update) ends the program after it.
    TerminationSignals endSignals([this] {
        bar_->engine().releaseHeldButton();
        QCoreApplication::quit();
    });
    if (!bar_->load() || endSignals.received()) {
        return 0;
    }
    bar_->startSlide();
    return QApplication::exec();
}

}  // namespace tz
