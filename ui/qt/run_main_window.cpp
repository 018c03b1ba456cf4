// The window module's entry, loaded by a program only in window mode so the self-test never pays for Qt. The
// program hands over its tool, so one module serves the whole family.
#include <errno.h>
#include <unistd.h>

#include <QApplication>
#include <cstdio>

#include "ui/qt/main_window.h"

namespace {

char lastWarning[256];  // what the platform said last before it gave up

// Qt ends the process with abort() when no platform plugin starts; say so in one line and exit with 1 instead.
void QuietUntilStarted(QtMsgType type, const QMessageLogContext&, const QString& message) {
    const QByteArray line = message.section(QLatin1Char('\n'), 0, 0).toUtf8();
    if (type != QtFatalMsg) {
        std::snprintf(lastWarning, sizeof lastWarning, "%s", line.constData());
        return;
    }
    // The platform's own reason follows, so that a display that went away can be told from one never there.
    std::fprintf(stderr, "%s: the window cannot be opened: no usable display (%s)\n", program_invocation_short_name,
                 lastWarning[0] != 0 ? lastWarning : line.constData());
    _exit(1);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int OvraRunMainWindow(int argc, char** argv, const ovra::Tool* tool) {
    static int appArgc = argc;
    const QtMessageHandler previous = qInstallMessageHandler(QuietUntilStarted);
    QApplication app(appArgc, argv);
    qInstallMessageHandler(previous);
    ovra::PrepareApplication();
    ovra::MainWindow window(*tool, ovra::RecordsFolder());
    ovra::PlaceOnScreen(window);
    window.show();
    window.FocusFirstField();
    app.exec();
    return 0;
}
