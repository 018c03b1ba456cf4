// The window module's entry, loaded by a program only in window mode so the self-test never pays for Qt. The
// program hands over its tool, so one module serves the whole family.
#include <errno.h>
#include <unistd.h>

#include <QApplication>
#include <cstdio>

#include "ui/qt/main_window.h"

namespace {

// Qt ends the process with abort() when no platform plugin starts; say so in one line and exit with 1 instead.
void QuietUntilStarted(QtMsgType type, const QMessageLogContext&, const QString&) {
    if (type != QtFatalMsg) return;
    std::fprintf(stderr, "%s: the window cannot be opened: no usable display\n", program_invocation_short_name);
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
