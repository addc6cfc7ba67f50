#include "platform/kwin/KWinGlobalKey.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QKeySequence>
#include <string_view>
#include <utility>

#include "KWinScripts.h"

namespace tz {

namespace {

constexpr const char* kShortcutService = "org.kde.kglobalaccel";
// The component of the shortcuts KWin's scripts register.
constexpr const char* kShortcutComponent = "/component/kwin";
constexpr const char* kShortcutInterface = "org.kde.kglobalaccel.Component";

// How KWin writes the key with the X key name `keyName` ("Scroll_Lock" is
// "ScrollLock"); "" for a name that is no single key.
QString keySequenceText(const std::string& keyName) {
    // The X names Qt spells otherwise.
    static constexpr std::pair<std::string_view, const char*> kRenamed[] = {
        {"Scroll_Lock", "ScrollLock"},
        {"Num_Lock", "NumLock"},
        {"Caps_Lock", "CapsLock"},
        {"Prior", "PgUp"},
        {"Next", "PgDown"},
        {"Page_Up", "PgUp"},
        {"Page_Down", "PgDown"},
        {"Insert", "Ins"},
        {"Delete", "Del"},
        {"Escape", "Esc"},
        {"Sys_Req", "SysReq"}};
    QString text = QString::fromStdString(keyName);
    for (const auto& [x, qt] : kRenamed) {
        if (keyName == x) {
            text = QString::fromLatin1(qt);
        }
    }
    const QKeySequence sequence = QKeySequence::fromString(text, QKeySequence::PortableText);
    if (text.isEmpty() || sequence.count() != 1 || sequence[0].key() == Qt::Key_unknown ||
        sequence[0].keyboardModifiers() != Qt::NoModifier) {
        return {};
    }
    return sequence.toString(QKeySequence::PortableText);
}

}  // namespace

KWinGlobalKey::KWinGlobalKey(QDBusConnection bus)
    : bus_(bus), script_(bus, QString::fromUtf8(kScriptName)) {
    offered_ = bus_.isConnected() &&
               bus_.registerObject(kObjectPath, this, QDBusConnection::ExportScriptableSlots) &&
               bus_.connect(kShortcutService, kShortcutComponent, kShortcutInterface,
                            QStringLiteral("globalShortcutPressed"), this,
                            SLOT(shortcutPressed(QString, QString, qlonglong))) &&
               bus_.connect(kShortcutService, kShortcutComponent, kShortcutInterface,
                            QStringLiteral("globalShortcutReleased"), this,
                            SLOT(shortcutReleased(QString, QString, qlonglong)));
}

KWinGlobalKey::~KWinGlobalKey() {
    release();
    if (offered_) {
        bus_.unregisterObject(kObjectPath);
    }
}

bool KWinGlobalKey::grab(const std::string& keyName, std::function<void()> onPress) {
    release();
    if (keyName.empty()) {
        script_.unload();  // also one a killed earlier run left holding its key
        return true;
    }
    const QString sequence = keySequenceText(keyName);
    if (sequence.isEmpty() || !offered_ || !script_.kwinFound()) {
        return false;
    }
    // KDE keeps the key an action name was first given, so each key has an
    // action of its own: a key chosen later is not overruled by an older one.
    const QString action = QStringLiteral("Tindro Zevad ") + sequence;
    const QJsonObject key{{QStringLiteral("program"), bus_.baseService()},
                          {QStringLiteral("action"), action},
                          {QStringLiteral("sequence"), sequence}};
    if (!script_.load("var key = " + QJsonDocument(key).toJson(QJsonDocument::Compact) + ";\n" +
                      kPauseKeyScript)) {
        return false;
    }
    action_ = action;
    onPress_ = std::move(onPress);
    return true;
}

void KWinGlobalKey::release() {
    onPress_ = nullptr;
    action_.clear();
    down_ = false;
    if (script_.loaded()) {
        script_.unload();
    }
}

void KWinGlobalKey::taken() {
    if (calledFromDBus() && script_.fromKWin(message())) {
        script_.dropFile();
    }
}

void KWinGlobalKey::shortcutPressed(const QString&, const QString& action, qlonglong) {
    if (!calledFromDBus() || !script_.fromKWin(message()) || action_.isEmpty() ||
        action != action_ || std::exchange(down_, true)) {
        return;
    }
    if (onPress_) {
        onPress_();
    }
}

void KWinGlobalKey::shortcutReleased(const QString&, const QString& action, qlonglong) {
    if (calledFromDBus() && script_.fromKWin(message()) && action == action_) {
        down_ = false;
    }
}

}  // namespace tz
