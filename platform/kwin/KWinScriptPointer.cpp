#include "platform/kwin/KWinScriptPointer.h"

#include <QDBusConnectionInterface>
#include <QEventLoop>
#include <QTimer>
#include <cmath>

#include "KWinScripts.h"

namespace tz {

KWinScriptPointer::KWinScriptPointer(ScreenMetrics& screen, QDBusConnection bus, int firstReportMs)
    : screen_(screen), bus_(bus), script_(bus, QString::fromUtf8(kScriptName)) {
    if (!bus_.isConnected()) {
        failure_ = QStringLiteral("no session bus");
        return;
    }
    if (!script_.kwinFound()) {
        failure_ = QStringLiteral("KWin is not on the session bus");
        return;
    }
    if (!bus_.registerObject(kObjectPath, this, QDBusConnection::ExportScriptableSlots)) {
        failure_ = QStringLiteral("could not offer the pointer reports' object on the bus");
        return;
    }
    const auto named =
        bus_.interface()->registerService(kServiceName, QDBusConnectionInterface::DontQueueService,
                                          QDBusConnectionInterface::DontAllowReplacement);
    if (!named.isValid() || named.value() != QDBusConnectionInterface::ServiceRegistered) {
        otherInstance_ =
            named.isValid() && named.value() == QDBusConnectionInterface::ServiceNotRegistered;
        failure_ = otherInstance_ ? QStringLiteral("another instance of the program runs")
                                  : QStringLiteral("could not own its name on the bus");
        return;
    }
    ownsName_ = true;
    if (!script_.load(kPointerReportScript)) {
        failure_ = script_.failure();
        return;
    }
    if (!reported_) {
        QEventLoop wait;
        connect(this, &KWinScriptPointer::reported, &wait, &QEventLoop::quit);
        QTimer::singleShot(firstReportMs, &wait, &QEventLoop::quit);
        wait.exec();
    }
    if (!reported_) {
        failure_ = QStringLiteral("KWin's script sent no pointer position");
        return;
    }
    script_.dropFile();
}

KWinScriptPointer::~KWinScriptPointer() {
    if (ownsName_) {
        script_.unload();
        bus_.interface()->unregisterService(kServiceName);
    }
    bus_.unregisterObject(kObjectPath);
}

void KWinScriptPointer::notifyOnNextMotion(std::function<void()> onMotion) {
    onMotion_ = std::move(onMotion);
}

void KWinScriptPointer::report(int x, int y, int desktopWidth) {
    if (!calledFromDBus() || !script_.fromKWin(message())) {
        sendErrorReply(QDBusError::AccessDenied, QStringLiteral("only KWin reports the pointer"));
        return;
    }
    const double pixels = screen_.desktopWidthTwips() / screen_.twipsPerPixelX();
    const double scale = desktopWidth > 0 && pixels > 0 ? pixels / desktopWidth : 1;
    const long column =
        x >= desktopWidth - 1 && scale > 1 ? std::lround(pixels) - 1 : std::lround(x * scale);
    position_ = {static_cast<std::int32_t>(column),
                 static_cast<std::int32_t>(std::lround(y * scale))};
    reported_ = true;
    Q_EMIT reported();
    if (onMotion_) {
        std::function<void()> onMotion = std::move(onMotion_);
        onMotion_ = nullptr;
        onMotion();
    }
}

}  // namespace tz
