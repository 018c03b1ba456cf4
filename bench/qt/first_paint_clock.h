#pragma once
// Reports the time from a launcher's timestamp (argv[1], CLOCK_REALTIME nanoseconds) to the first paint of a
// window, then ends the event loop.
#include <QApplication>
#include <QEvent>
#include <QObject>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

class FirstPaintClock : public QObject {
   public:
    FirstPaintClock(QObject* window, const char* launchNanoseconds)
        : window(window), launch(launchNanoseconds == nullptr ? 0 : std::strtoll(launchNanoseconds, nullptr, 10)) {}

   protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window && event->type() == QEvent::Paint && !painted) {
            painted = true;
            QMetaObject::invokeMethod(
                qApp, [this] { Report(); }, Qt::QueuedConnection);
        }
        return false;
    }

   private:
    void Report() {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        const long long nanoseconds = now.tv_sec * 1000000000LL + now.tv_nsec - launch;
        std::printf("first_paint_ms %.2f\n", nanoseconds / 1e6);
        // Where resident memory goes: heap and stacks, mapped files (libraries, fonts), shared memory.
        if (std::FILE* status = std::fopen("/proc/self/status", "r")) {
            char line[256];
            while (std::fgets(line, sizeof line, status) != nullptr) {
                if (std::strncmp(line, "Rss", 3) == 0) std::fputs(line, stdout);
            }
            std::fclose(status);
        }
        std::fflush(stdout);
        qApp->quit();
    }

    QObject* window;
    long long launch;
    bool painted = false;
};
