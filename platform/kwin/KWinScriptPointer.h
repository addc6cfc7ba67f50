#pragma once
#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QString>
#include <functional>

#include "platform/Pointer.h"
#include "platform/PointerMotionWatch.h"
#include "platform/ScreenMetrics.h"
#include "platform/kwin/KWinScript.h"

namespace tz {

// The pointer in KDE Plasma's Wayland session, where a client cannot ask where
// the pointer is but KWin can: a KWin script of the program's own
// (pointer-report.js) reports the cursor over the session bus: the first
// motion after a rest at once, then at most one report per 30 ms, none while
// it rests. `position()` is the
// last report, so a tick costs no round trip; the motion watch fires on the
// next report. Only reports sent by KWin count (KWinScript::fromKWin): no
// other program on the bus can steer where the program clicks.
//
// KWin reports in its logical pixels. Where Xwayland's X clients scale
// themselves (Plasma's default above 100 %), Xwayland's desktop, in which the
// program places its windows, is that many times larger: the reports are
// scaled onto it, the desktop's last column onto Xwayland's last, so that the
// right edge stays within the pointer's reach.
//
// The reports go to the bus name org.tindrozevad.PointerReport, which one
// instance owns at a time. Its owner loads the script under one name: one of
// that name is what a killed earlier run left, unloaded first; the program's
// own is unloaded when this object goes. A second instance leaves both alone.
class KWinScriptPointer : public QObject,
                          protected QDBusContext,
                          public Pointer,
                          public PointerMotionWatch {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.tindrozevad.PointerReport")

  public:
    static constexpr const char* kScriptName = "tindro-zevad-pointer";
    static constexpr const char* kObjectPath = "/org/tindrozevad/PointerReport";
    static constexpr const char* kServiceName = "org.tindrozevad.PointerReport";

    // Loads and runs the script and waits up to `firstReportMs` for its first
    // report; `running()` tells whether it came.
    explicit KWinScriptPointer(ScreenMetrics& screen,
                               QDBusConnection bus = QDBusConnection::sessionBus(),
                               int firstReportMs = 3000);
    ~KWinScriptPointer() override;
    KWinScriptPointer(const KWinScriptPointer&) = delete;
    KWinScriptPointer& operator=(const KWinScriptPointer&) = delete;

    bool running() const { return reported_; }
    // Whether another instance owns the reports' bus name (then nothing runs).
    bool otherInstance() const { return otherInstance_; }
    // Why the script is not running, for the user ("" while it runs).
    const QString& failure() const { return failure_; }

    PointerPosition position() override { return position_; }
    bool available() override { return reported_; }
    void notifyOnNextMotion(std::function<void()> onMotion) override;
    void cancel() override { onMotion_ = nullptr; }

  public Q_SLOTS:
    // Called by the script over the session bus.
    Q_SCRIPTABLE void report(int x, int y, int desktopWidth);

  Q_SIGNALS:
    void reported();

  private:
    ScreenMetrics& screen_;
    QDBusConnection bus_;
    KWinScript script_;
    bool ownsName_ = false;
    bool otherInstance_ = false;
    bool reported_ = false;
    QString failure_;
    PointerPosition position_;
    std::function<void()> onMotion_;
};

}  // namespace tz
