#include "app/Application.h"

#include <QApplication>

#include "BuildConfig.h"
#include "app/ClickFeedback.h"
#include "app/TerminationSignals.h"
#include "core/ProductTitle.h"
#include "core/i18n/EnglishTexts.h"
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
    // The tray and "More options" speak English even when no language file opens.
    setEnglishNewerTexts(state_.texts);
    state_.extrasPath = extrasPathBeside(state_.settingsPath);
    state_.extras = readExtrasFile(state_.extrasPath);
    bar_ = std::make_unique<ClickBar>(state_, platform, windows_, windows_, versionUrl);
    windows_.setBar(bar_.get());
    feedback_ = std::make_unique<ClickFeedback>(state_, *bar_, windows_, platform.screen,
                                                platform.overlaysPassInput);
    windows_.setOnTextsApplied([this](const TextTable& texts) { feedback_->retranslate(texts); });
    windows_.setOnExtrasChanged([this] {
        feedback_->applyExtras();
        bar_->applyExtras();
    });
}

Application::~Application() = default;

int Application::run(bool findSettings) {
    // Ending on a signal lets go of a drag's held button first; a signal during
    // start-up (while it asks about an update) ends the program after it.
    // QCoreApplication::quit() would ask every window to close first and give
    // up at the first that refuses (the options windows do); exit() ends every
    // event loop, nested ones too, whatever is open.
    TerminationSignals endSignals([this] {
        bar_->engine().releaseHeldButton();
        QCoreApplication::exit(0);
    });
    if (!bar_->load() || endSignals.received()) {
        return 0;
    }
    // The countdown and the tray icon join once the bar runs.
    feedback_->applyExtras();
    feedback_->afterTick();  // the tray icon shows the restored kind before the first tick
    bar_->setAfterTick([this] { feedback_->afterTick(); });
    bar_->startSlide();
    if (findSettings) {
        windows_.openSettingsFinder();
    }
    return QApplication::exec();
}

}  // namespace tz
