#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "BuildConfig.h"
#include "app/Application.h"
#include "core/CommandLine.h"
#include "core/ProductTitle.h"
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
    // tens of megabytes. The pointer and the clicks go through X11, so Qt must
    // talk X11 too (under Wayland that is XWayland). On a high-resolution
    // desktop Qt draws the windows scaled as a whole.
    setenv("QT_XCB_GL_INTEGRATION", "none", 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);

    tz::X11Connection x11;
    if (!x11.isOpen()) {
        std::fprintf(stderr,
                     "Tindro Zevad needs an X11 display, and none could be opened "
                     "(is DISPLAY set?).\n");
        return 1;
    }
    if (!x11.hasXTest()) {
        std::fprintf(stderr, "Tindro Zevad needs the X server's XTest extension to click.\n");
        return 1;
    }

    QApplication qtApp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tindro-zevad"));
    QApplication::setQuitOnLastWindowClosed(false);

    tz::X11Pointer pointer(x11);
    tz::XTestInjector injector(x11);
    tz::QtScreenMetrics screen(x11);
    tz::PulseSound sound(x11);
    tz::ExecutableFolder folder;
    tz::EnvLocale locale;
    tz::RuntimeDirLock instanceLock;
    tz::XdgAutostartStore startupEntry;
    tz::FetchHelperProcess http(folder.folder() + "/tindro-zevad-fetch");
    tz::X11MotionWatch motionWatch;
    tz::X11PressWatch pressWatch(x11);
    tz::X11GlobalKey pauseKey;
    tz::Platform platform{pointer,     injector,   screen,       sound,        shell,
                          folder,      locale,     instanceLock, startupEntry, http,
                          motionWatch, pressWatch, pauseKey};

#ifdef TZ_TEST_BUILD
    std::string versionUrl;
    std::ifstream(folder.folder() + "/test-version-url.txt") >> versionUrl;
#else
    const std::string versionUrl = tz::build::kVersionUrl;
#endif
    tz::Application app(platform, versionUrl);
    return app.run(answer.findSettings);
}
