// The calculator's window from process start to its first paint; with "--calculate N" also the time of a
// Calculate from the key press to the repainted texts, averaged over N presses.
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <cstdio>
#include <cstring>

#include "bench/window/first_paint_clock.h"
#include "ui/qt/main_window.h"

namespace {

void TimeCalculate(ovra::MainWindow& window, int presses) {
    auto* field = window.findChild<QLineEdit*>(QStringLiteral("field0"));
    QElapsedTimer timer;
    qint64 total = 0;
    qint64 worst = 0;
    for (int i = 0; i < presses; ++i) {
        field->setFocus();
        field->setText(QString::number(50 + i % 30));
        QKeyEvent press(QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier);
        timer.start();
        QApplication::sendEvent(field, &press);
        QApplication::processEvents();  // paints what the command marked as changed
        const qint64 elapsed = timer.nsecsElapsed();
        total += elapsed;
        worst = elapsed > worst ? elapsed : worst;
    }
    std::printf("calculate_us mean %.1f worst %.1f over %d presses\n", total / 1e3 / presses, worst / 1e3, presses);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ovra::MainWindow window(ovra::ActiveTool(), ovra::RecordsFolder());
    window.SetNoticePresenter([](QWidget*, ovra::NoticeIcon, const QString&, const QString&) {});
    const bool calculate = argc > 2 && std::strcmp(argv[1], "--calculate") == 0;
    FirstPaintClock clock(&window, calculate ? nullptr : (argc > 1 ? argv[1] : nullptr));
    if (!calculate) window.installEventFilter(&clock);
    window.show();
    window.FocusFirstField();
    if (calculate) {
        QApplication::processEvents();
        TimeCalculate(window, std::atoi(argv[2]));
        return 0;
    }
    return app.exec();
}
