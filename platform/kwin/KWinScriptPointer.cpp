#include "platform/kwin/KWinScriptPointer.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDir>
#include <QEventLoop>
#include <QTimer>
#include <cmath>

#include "PointerReportScript.h"

namespace tz {

namespace {

constexpr const char* kKWinService = "org.kde.KWin";
constexpr int kCallTimeoutMs = 2000;

QDBusMessage scriptingCall(const QString& path, const QString& interface, const QString& method,
                           const QVariantList& arguments = {}) {
    QDBusMessage message = QDBusMessage::createMethodCall(kKWinService, path, interface, method);
    message.setArguments(arguments);
    return message;
}

}  // namespace

KWinScriptPointer::KWinScriptPointer(ScreenMetrics& screen, QDBusConnection bus, int firstReportMs)
    : screen_(screen), bus_(bus) {
    if (!bus_.isConnected()) {
        failure_ = QStringLiteral("no session bus");
        return;
    }
    kwinOwner_ = bus_.interface()->serviceOwner(kKWinService).value();
    if (kwinOwner_.isEmpty()) {
        failure_ = QStringLiteral("KWin is not on the session bus");
        return;
    }
    ownerWatch_ =
        new QDBusServiceWatcher(kKWinService, bus_, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(
        ownerWatch_, &QDBusServiceWatcher::serviceOwnerChanged, this,
        [this](const QString&, const QString&, const QString& newOwner) { kwinOwner_ = newOwner; });
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
    if (!loadScript()) {
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
    // KWin reads the file when the script starts, in the background: only a
    // report proves it has.
    scriptFile_.reset();
}

KWinScriptPointer::~KWinScriptPointer() {
    unloadScript();
    if (ownsName_) {
        bus_.interface()->unregisterService(kServiceName);
    }
    bus_.unregisterObject(kObjectPath);
}

bool KWinScriptPointer::loadScript() {
    scriptFile_ = std::make_unique<QTemporaryFile>(QDir::tempPath() +
                                                   QStringLiteral("/tindro-zevad-XXXXXX.js"));
    if (!scriptFile_->open() || scriptFile_->write(kPointerReportScript) < 0 ||
        !scriptFile_->flush()) {
        failure_ = QStringLiteral("could not write KWin's script");
        return false;
    }
    const QString scripting = QStringLiteral("/Scripting");
    const QString scriptingInterface = QStringLiteral("org.kde.kwin.Scripting");
    // A script of the same name is one a killed earlier run left: it would
    // keep reporting to a name gone from the bus.
    const QDBusMessage loaded =
        bus_.call(scriptingCall(scripting, scriptingInterface, QStringLiteral("isScriptLoaded"),
                                {QString::fromUtf8(kScriptName)}),
                  QDBus::Block, kCallTimeoutMs);
    if (loaded.type() == QDBusMessage::ReplyMessage && !loaded.arguments().isEmpty() &&
        loaded.arguments().front().toBool()) {
        bus_.call(scriptingCall(scripting, scriptingInterface, QStringLiteral("unloadScript"),
                                {QString::fromUtf8(kScriptName)}),
                  QDBus::Block, kCallTimeoutMs);
    }
    const QDBusMessage load =
        bus_.call(scriptingCall(scripting, scriptingInterface, QStringLiteral("loadScript"),
                                {scriptFile_->fileName(), QString::fromUtf8(kScriptName)}),
                  QDBus::Block, kCallTimeoutMs);
    const int id = load.type() == QDBusMessage::ReplyMessage && !load.arguments().isEmpty()
                       ? load.arguments().front().toInt()
                       : -1;
    if (id < 0) {
        failure_ = QStringLiteral("KWin did not load the script: ") + load.errorMessage();
        return false;
    }
    loaded_ = true;
    const QDBusMessage run =
        bus_.call(scriptingCall(QStringLiteral("/%1").arg(id),
                                QStringLiteral("org.kde.kwin.Script"), QStringLiteral("run")),
                  QDBus::Block, kCallTimeoutMs);
    if (run.type() != QDBusMessage::ReplyMessage) {
        failure_ = QStringLiteral("KWin did not run the script: ") + run.errorMessage();
        return false;
    }
    return true;
}

void KWinScriptPointer::unloadScript() {
    if (!loaded_) {
        return;
    }
    loaded_ = false;
    bus_.call(scriptingCall(QStringLiteral("/Scripting"), QStringLiteral("org.kde.kwin.Scripting"),
                            QStringLiteral("unloadScript"), {QString::fromUtf8(kScriptName)}),
              QDBus::Block, kCallTimeoutMs);
}

void KWinScriptPointer::notifyOnNextMotion(std::function<void()> onMotion) {
    onMotion_ = std::move(onMotion);
}

void KWinScriptPointer::report(int x, int y, int desktopWidth) {
    if (!calledFromDBus() || kwinOwner_.isEmpty() || message().service() != kwinOwner_) {
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
