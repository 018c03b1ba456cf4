// The yardstick: a bare Qt 6 window with twenty CJK-labelled children and nothing of the product. By default
// the labels repeat five characters; with --varied each carries its own phrase, about as many distinct
// characters as a real form shows.
#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <cstring>

#include "bench/qt/first_paint_clock.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const bool varied = argc > 1 && std::strcmp(argv[1], "--varied") == 0;
    QWidget window;
    window.setFixedSize(1020, 720);
    window.setWindowTitle(QStringLiteral("对照窗口"));
    static const char16_t* const repeated[] = {u"年龄", u"收缩压", u"舒张压", u"症状", u"持续时间"};
    static const char16_t* const phrases[] = {
        u"患者姓名与住院号", u"入院日期及科室", u"主要诊断名称", u"过敏史与既往史", u"当前用药清单",
        u"体温脉搏呼吸",     u"血氧饱和度监测", u"意识状态评估", u"疼痛程度评分",   u"跌倒风险等级",
        u"压疮风险评估",     u"营养筛查结果",   u"静脉通路情况", u"出入量记录表",   u"检验危急值提醒",
        u"影像检查预约",     u"护理交班要点",   u"家属沟通记录", u"出院随访计划",   u"责任护士签名",
    };
    for (int i = 0; i < 20; ++i) {
        const QString text =
            varied ? QString::fromUtf16(phrases[i]) : QString::fromUtf16(repeated[i % 5]) + QString::number(i);
        auto* label = new QLabel(text, &window);
        label->setGeometry(24 + (i / 10) * 480, 40 + (i % 10) * 60, 400, 40);
    }
    FirstPaintClock clock(&window, argv[argc - 1]);
    window.installEventFilter(&clock);
    window.show();
    return app.exec();
}
