#pragma once
#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QString>
#include <functional>

#include "platform/GlobalKey.h"
#include "platform/kwin/KWinScript.h"

namespace tz {

// The pause key in KDE Plasma's Wayland session, where an X key grab sees
// only Xwayland's windows: a KWin script of the program's own (pause-key.js)
// makes the key one of KWin's global shortcuts, and the shortcut service
// KWin hosts (org.kde.kglobalaccel) signals its presses and releases on the
// session bus. A press while the key is down is a repeat (KDE 5 signals
// repeats as presses) and is passed over. Only KWin's signals count. The
// script goes with `release()` and when this object goes.
class KWinGlobalKey : public QObject, protected QDBusContext, public GlobalKey {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.tindrozevad.PauseKey")

  public:
    static constexpr const char* kScriptName = "tindro-zevad-pause-key";
    static constexpr const char* kObjectPath = "/org/tindrozevad/PauseKey";

    explicit KWinGlobalKey(QDBusConnection bus = QDBusConnection::sessionBus());
    ~KWinGlobalKey() override;
    KWinGlobalKey(const KWinGlobalKey&) = delete;
    KWinGlobalKey& operator=(const KWinGlobalKey&) = delete;

    bool grab(const std::string& keyName, std::function<void()> onPress) override;
    void release() override;

  public Q_SLOTS:
    // Called by the script over the session bus once it runs.
    Q_SCRIPTABLE void taken();

  private Q_SLOTS:
    void shortcutPressed(const QString& component, const QString& action, qlonglong time);
    void shortcutReleased(const QString& component, const QString& action, qlonglong time);

  private:
    QDBusConnection bus_;
    KWinScript script_;
    bool offered_ = false;  // this object is on the bus
    QString action_;        // the grabbed key's action, "" while none
    bool down_ = false;
    std::function<void()> onPress_;
};

}  // namespace tz
