// The yardstick: a bare Qt 6 window with twenty CJK-labelled children and nothing of the product.
#include <QApplication>
#include <QLabel>
#include <QWidget>

#include "bench/window/first_paint_clock.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(1020, 720);
    window.setWindowTitle(QStringLiteral("对照窗口"));
    static const char16_t* const words[] = {u"年龄", u"收缩压", u"舒张压", u"症状", u"持续时间"};
    for (int i = 0; i < 20; ++i) {
        auto* label = new QLabel(QString::fromUtf16(words[i % 5]) + QString::number(i), &window);
        label->setGeometry(24 + (i / 10) * 480, 40 + (i % 10) * 60, 400, 40);
    }
    FirstPaintClock clock(&window, argc > 1 ? argv[1] : nullptr);
    window.installEventFilter(&clock);
    window.show();
    return app.exec();
}
