// The UniLabel example: run it and move the pointer over the labels.
// With "--screenshot FILE" it saves a picture of its window and ends.
#include <QApplication>
#include <QScreen>
#include <QTimer>

#include "gui/UnicodeMessageBox.h"
#include "platform/posix/SyslogEventLog.h"
#include "unilabel/example/ExampleWindow.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    tz::SyslogEventLog eventLog;
    tz::example::ExampleWindow window(tz::withUnicodeMessageBox(eventLog));
    window.show();

    const QStringList arguments = QApplication::arguments();
    if (const auto option = arguments.indexOf(QStringLiteral("--screenshot"));
        option >= 0 && option + 1 < arguments.size()) {
        const QString file = arguments[option + 1];
        QTimer::singleShot(800, &app, [&window, file] {
            const QPixmap shot = window.screen()->grabWindow(window.winId());
            QApplication::exit(shot.save(file) ? 0 : 1);
        });
    }
    return QApplication::exec();
}
