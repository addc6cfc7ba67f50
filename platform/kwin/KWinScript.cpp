#include "platform/kwin/KWinScript.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDir>

namespace tz {

namespace {

constexpr const char* kKWinService = "org.kde.KWin";
constexpr int kCallTimeoutMs = 2000;

}  // namespace

KWinScript::KWinScript(QDBusConnection bus, QString name) : bus_(bus), name_(std::move(name)) {
    if (!bus_.isConnected()) {
        return;
    }
    kwinOwner_ = bus_.interface()->serviceOwner(kKWinService).value();
    auto* ownerWatch =
        new QDBusServiceWatcher(kKWinService, bus_, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(
        ownerWatch, &QDBusServiceWatcher::serviceOwnerChanged, this,
        [this](const QString&, const QString&, const QString& newOwner) { kwinOwner_ = newOwner; });
}

KWinScript::~KWinScript() {
    if (loaded_) {
        unload();
    }
}

bool KWinScript::fromKWin(const QDBusMessage& message) const {
    return !kwinOwner_.isEmpty() && message.service() == kwinOwner_;
}

QDBusMessage KWinScript::call(const QString& path, const QString& interface, const QString& method,
                              const QVariantList& arguments) {
    QDBusMessage message = QDBusMessage::createMethodCall(kKWinService, path, interface, method);
    message.setArguments(arguments);
    return bus_.call(message, QDBus::Block, kCallTimeoutMs);
}

bool KWinScript::load(const QByteArray& text) {
    unload();
    file_ = std::make_unique<QTemporaryFile>(QDir::tempPath() +
                                             QStringLiteral("/tindro-zevad-XXXXXX.js"));
    if (!file_->open() || file_->write(text) < 0 || !file_->flush()) {
        failure_ = QStringLiteral("could not write KWin's script");
        return false;
    }
    const QDBusMessage load =
        call(QStringLiteral("/Scripting"), QStringLiteral("org.kde.kwin.Scripting"),
             QStringLiteral("loadScript"), {file_->fileName(), name_});
    const int id = load.type() == QDBusMessage::ReplyMessage && !load.arguments().isEmpty()
                       ? load.arguments().front().toInt()
                       : -1;
    if (id < 0) {
        failure_ = QStringLiteral("KWin did not load the script: ") + load.errorMessage();
        return false;
    }
    loaded_ = true;
    // KWin 6 offers the loaded script at /Scripting/Script<id>, KWin 5 at /<id>.
    QDBusMessage run;
    for (const QString& path :
         {QStringLiteral("/Scripting/Script%1").arg(id), QStringLiteral("/%1").arg(id)}) {
        run = call(path, QStringLiteral("org.kde.kwin.Script"), QStringLiteral("run"));
        if (run.errorName() != QStringLiteral("org.freedesktop.DBus.Error.UnknownObject")) {
            break;
        }
    }
    if (run.type() != QDBusMessage::ReplyMessage) {
        failure_ = QStringLiteral("KWin did not run the script: ") + run.errorMessage();
        return false;
    }
    return true;
}

void KWinScript::unload() {
    file_.reset();
    loaded_ = false;
    const QString scripting = QStringLiteral("/Scripting");
    const QString scriptingInterface = QStringLiteral("org.kde.kwin.Scripting");
    const QDBusMessage loaded =
        call(scripting, scriptingInterface, QStringLiteral("isScriptLoaded"), {name_});
    if (loaded.type() == QDBusMessage::ReplyMessage && !loaded.arguments().isEmpty() &&
        loaded.arguments().front().toBool()) {
        call(scripting, scriptingInterface, QStringLiteral("unloadScript"), {name_});
    }
}

}  // namespace tz
