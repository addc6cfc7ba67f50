#pragma once
#include <QByteArray>
#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QTemporaryFile>
#include <memory>

class QDBusMessage;

namespace tz {

// A script of the program's own in KWin, loaded over the session bus under a
// fixed name, and who may speak for it: what the program's bus objects hear
// is believed only from the current owner of org.kde.KWin, so that no other
// program on the bus can steer the program.
class KWinScript : public QObject {
    Q_OBJECT

  public:
    KWinScript(QDBusConnection bus, QString name);
    ~KWinScript() override;  // unloads it
    KWinScript(const KWinScript&) = delete;
    KWinScript& operator=(const KWinScript&) = delete;

    // Whether KWin is on the bus at all.
    bool kwinFound() const { return !kwinOwner_.isEmpty(); }
    // Whether `message` came from KWin.
    bool fromKWin(const QDBusMessage& message) const;

    // Runs `text` in KWin in place of a script of the same name: one loaded
    // before, or left by a killed earlier run. False, with the reason in
    // `failure()`, when KWin did not take it.
    bool load(const QByteArray& text);
    bool loaded() const { return loaded_; }
    // Unloads a script of this name, also one an earlier run left.
    void unload();
    // KWin reads the script's file in the background after it starts: the
    // file goes once the script has shown it runs, or with this object.
    void dropFile() { file_.reset(); }
    const QString& failure() const { return failure_; }

  private:
    QDBusMessage call(const QString& path, const QString& interface, const QString& method,
                      const QVariantList& arguments = {});

    QDBusConnection bus_;
    QString name_;
    QString kwinOwner_;
    std::unique_ptr<QTemporaryFile> file_;
    bool loaded_ = false;
    QString failure_;
};

}  // namespace tz
