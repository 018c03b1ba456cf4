// The calculator's window from process start to its first paint; with "--calculate N" also the time of a
// Calculate from the key press to the repainted texts, averaged over N presses.
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "bench/qt/first_paint_clock.h"
#include "ui/qt/main_window.h"

namespace {

// Alternates a low-risk and a high-risk patient, so every press changes the report, the verdict and its colour.
void TimeCalculate(ovra::MainWindow& window, int presses) {
    static const char* const patients[2][6] = {{"60", "130", "80", "1", "1", "0"}, {"70", "150", "95", "2", "2", "1"}};
    QLineEdit* fields[6];
    for (int i = 0; i < 6; ++i) fields[i] = window.findChild<QLineEdit*>(QStringLiteral("field%1").arg(i));
    std::vector<qint64> times;
    QElapsedTimer timer;
    for (int press = 0; press < presses; ++press) {
        for (int i = 0; i < 6; ++i) fields[i]->setText(QString::fromLatin1(patients[press % 2][i]));
        fields[0]->setFocus();
        QApplication::processEvents();
        QKeyEvent key(QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier);
        timer.start();
        QApplication::sendEvent(fields[0], &key);
        QApplication::processEvents();  // paints what the command marked as changed
        times.push_back(timer.nsecsElapsed());
    }
    std::sort(times.begin(), times.end());
    std::printf("calculate_us median %.1f p90 %.1f worst %.1f over %d presses\n", times[times.size() / 2] / 1e3,
                times[times.size() * 9 / 10] / 1e3, times.back() / 1e3, presses);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ovra::PrepareApplication();
    ovra::MainWindow window(ovra::ActiveTool(), ovra::RecordsFolder());
    ovra::PlaceOnScreen(window);
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
