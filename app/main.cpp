#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QMessageBox>
#include <QThread>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "BuildConfig.h"
#include "app/Application.h"
#include "core/CommandLine.h"
#include "core/ProductTitle.h"
#include "core/i18n/EnglishTexts.h"
#include "core/i18n/LanguageFile.h"
#include "core/i18n/SystemLanguage.h"
#include "core/settings/SettingsLocation.h"
#include "platform/kwin/FakeInputGrant.h"
#include "platform/kwin/FakeInputInjector.h"
#include "platform/kwin/KWinGlobalKey.h"
#include "platform/kwin/KWinScriptPointer.h"
#include "platform/linux/DesktopShell.h"
#include "platform/linux/ExecutableFolder.h"
#include "platform/linux/PulseSound.h"
#include "platform/linux/QtScreenMetrics.h"
#include "platform/linux/X11Connection.h"
#include "platform/linux/X11GlobalKey.h"
#include "platform/linux/X11MotionWatch.h"
#include "platform/linux/X11Pointer.h"
#include "platform/linux/X11PressWatch.h"
#include "platform/linux/XTestInjector.h"
#include "platform/posix/EnvLocale.h"
#include "platform/posix/FetchHelperProcess.h"
#include "platform/posix/RuntimeDirLock.h"
#include "platform/posix/XdgAutostartStore.h"

namespace {

// Presses by hand are not told apart from the program's own clicks in KWin's
// session: Xwayland shows both as its one pointer, and KWin tells neither its
// scripts nor the bus of button presses. None are reported, and the option
// shows as unavailable.
class NoPressWatch : public tz::PhysicalPressWatch {
  public:
    bool available() override { return false; }
    void setOnPress(std::function<void()>) override {}
};

// Said in the language the program would show, on standard error and, once
// windows can show, in a message box; `detail` takes the place of "%1".
int refuseToStart(std::size_t textId, bool withBox, const std::string& detail = {}) {
    tz::ExecutableFolder folder;
    tz::EnvLocale locale;
    const tz::Settings settings =
        tz::readStartingSettings(tz::settingsPathFor(folder.folder()), folder.folder());
    const std::string language = tz::needsSystemLanguage(settings.languageFile)
                                     ? tz::chooseLanguageFile(locale)
                                     : settings.languageFile;
    tz::TextTable texts;
    tz::setEnglishNewerTexts(texts);
    tz::LoadLanguageFile(texts, tz::languageFilePath(folder.folder(), language),
                         tz::LoadMode::Startup);
    std::string text = texts[textId];
    if (const auto mark = text.find("%1"); mark != std::string::npos) {
        text.replace(mark, 2, detail);
    }
    std::fprintf(stderr, "%s\n", text.c_str());
    if (withBox) {
        QMessageBox::critical(nullptr, QStringLiteral("Tindro Zevad"),
                              QString::fromStdString(text));
    }
    return 1;
}

// KWin takes a new grant of fake input once its service cache shows it, on a
// new connection: asked again for a few seconds.
std::unique_ptr<tz::FakeInputInjector> fakeInputGrantedSoon() {
    auto injector = std::make_unique<tz::FakeInputInjector>();
    for (int attempt = 0; !injector->ready() && attempt < 20; ++attempt) {
        QThread::msleep(250);
        injector = std::make_unique<tz::FakeInputInjector>();
    }
    return injector;
}

}  // namespace

int main(int argc, char** argv) {
    const tz::CommandLineAnswer answer = tz::readCommandLine(
        std::vector<std::string>(argv + 1, argv + argc),
        tz::buildProductTitle(tz::build::kVersionMajor, tz::build::kVersionMinor,
                              tz::build::kVersionRevision));
    if (!answer.startClicker) {
        std::fputs(answer.standardOutput.c_str(), stdout);
        std::fputs(answer.standardError.c_str(), stderr);
        return answer.exitCode;
    }

    // Made first: the browser, xdg-open and the mouse settings tool get the
    // user's environment as it is now, without the program's own settings
    // below.
    tz::DesktopShell shell;

    // The windows need no OpenGL; keeping Qt's GL integration unloaded saves
    // tens of megabytes. The windows are X11 windows in every session (in
    // KWin's, on Xwayland, where the places they ask for are honoured), so Qt
    // talks X11. On a high-resolution desktop Qt draws the windows scaled as a
    // whole.
    setenv("QT_XCB_GL_INTEGRATION", "none", 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);

    // In a Wayland session the pointer and the clicks go through KWin, the
    // only Wayland compositor the program knows; elsewhere through X11.
    const char* waylandDisplay = std::getenv("WAYLAND_DISPLAY");
    const bool wayland = waylandDisplay && *waylandDisplay;
    const tz::PlatformChoice choice = answer.platform;
    const bool kwin =
        choice == tz::PlatformChoice::KWin || (choice == tz::PlatformChoice::Automatic && wayland);

    tz::X11Connection x11;
    if (!x11.isOpen()) {
        return refuseToStart(kwin ? tz::TextId::NoXwaylandRefusal : tz::TextId::NoX11Refusal,
                             false);
    }
    if (!kwin && !x11.hasXTest()) {
        return refuseToStart(tz::TextId::NoXTestRefusal, false);
    }

    QApplication qtApp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tindro-zevad"));
    QApplication::setQuitOnLastWindowClosed(false);

    tz::QtScreenMetrics screen(x11);
    std::unique_ptr<tz::Pointer> x11Pointer;
    std::unique_ptr<tz::ClickInjector> x11Injector;
    std::unique_ptr<tz::PointerMotionWatch> x11MotionWatch;
    std::unique_ptr<tz::PhysicalPressWatch> pressWatch;
    std::unique_ptr<tz::KWinScriptPointer> kwinPointer;
    std::unique_ptr<tz::FakeInputInjector> fakeInput;
    std::unique_ptr<tz::GlobalKey> pauseKey;
    if (kwin) {
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected() ||
            !bus.interface()->isServiceRegistered(QStringLiteral("org.kde.KWin")).value()) {
            return refuseToStart(choice == tz::PlatformChoice::KWin
                                     ? tz::TextId::KWinNotOnBusRefusal
                                     : tz::TextId::OtherWaylandRefusal,
                                 true);
        }
        kwinPointer = std::make_unique<tz::KWinScriptPointer>(screen, bus);
        // A second instance goes on to say, as everywhere, that one already runs.
        if (!kwinPointer->running() && !kwinPointer->otherInstance()) {
            return refuseToStart(tz::TextId::KWinScriptRefusal, true,
                                 kwinPointer->failure().toStdString());
        }
        // Started from a program folder, the program grants itself fake input
        // with a desktop entry of the user's.
        fakeInput = std::make_unique<tz::FakeInputInjector>();
        const std::string executable = tz::ExecutableFolder().executablePath();
        if (!fakeInput->ready() && tz::grantFakeInput(executable)) {
            fakeInput = fakeInputGrantedSoon();
        }
        if (!fakeInput->ready()) {
            return refuseToStart(tz::TextId::FakeInputRefusal, true, executable);
        }
        pressWatch = std::make_unique<NoPressWatch>();
        pauseKey = std::make_unique<tz::KWinGlobalKey>(bus);
    } else {
        x11Pointer = std::make_unique<tz::X11Pointer>(x11);
        x11Injector = std::make_unique<tz::XTestInjector>(x11);
    }
    tz::Pointer& pointer = kwin ? static_cast<tz::Pointer&>(*kwinPointer) : *x11Pointer;
    tz::ClickInjector& injector = kwin ? static_cast<tz::ClickInjector&>(*fakeInput) : *x11Injector;
    tz::PulseSound sound(x11);
    tz::ExecutableFolder folder;
    tz::EnvLocale locale;
    tz::RuntimeDirLock instanceLock;
    tz::XdgAutostartStore startupEntry;
    tz::FetchHelperProcess http(folder.folder() + "/tindro-zevad-fetch");
    if (!kwin) {
        x11MotionWatch = std::make_unique<tz::X11MotionWatch>();
        pressWatch = std::make_unique<tz::X11PressWatch>(x11);
        pauseKey = std::make_unique<tz::X11GlobalKey>();
    }
    tz::PointerMotionWatch& motionWatch =
        kwin ? static_cast<tz::PointerMotionWatch&>(*kwinPointer) : *x11MotionWatch;
    tz::Platform platform{pointer,     injector,    screen,       sound,        shell,
                          folder,      locale,      instanceLock, startupEntry, http,
                          motionWatch, *pressWatch, *pauseKey,    !kwin};

#ifdef TZ_TEST_BUILD
    std::string versionUrl;
    std::ifstream(folder.folder() + "/test-version-url.txt") >> versionUrl;
#else
    const std::string versionUrl = tz::build::kVersionUrl;
#endif
    tz::Application app(platform, versionUrl);
    return app.run(answer.findSettings);
}
