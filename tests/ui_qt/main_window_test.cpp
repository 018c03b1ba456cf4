// The window driven as a user would: keys and clicks on the real widgets, texts and pixels compared.
#include "ui/qt/main_window.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFontInfo>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "ui/qt/program_icon.h"

using namespace ovra;

namespace {

struct ShownNotice {
    NoticeIcon icon;
    QString caption;
    QString text;
};

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

   private slots:
    void init();
    void cleanup();
    void geometry_data();
    void geometry();
    void windowIsFixedAndShowsTheDefaults();
    void fontsAndFallbacks();
    void controlColours();
    void paintedColours();
    void buttonsDarkenWhilePressed();
    void keyRuns_data();
    void keyRuns();
    void secondF5DoesNothing();
    void rejectedFieldKeepsTheResultAndTakesTheFocus_data();
    void rejectedFieldKeepsTheResultAndTakesTheFocus();
    void acceptedCodeWrittenWithADecimalPoint();
    void verdictColourFollowsTheLevel();
    void copyPutsTheResultOnTheClipboard();
    void refusalsAndAboutAreAnsweredWithoutBlocking();
    void realMessageBoxIsAnsweredByATimer();
    void saveWritesIntoTheRecordsFolder();
    void tabMovesBetweenFields();
    void iconAtEverySize();
    void renderAfterCalculation();

   private:
    template <class T>
    T* Child(const char* name) {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    QLineEdit* Field(int i) { return Child<QLineEdit>(QStringLiteral("field%1").arg(i).toLatin1().constData()); }
    void PressIn(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    QString Status() const { return QString::fromUtf16(window->State().statusText); }
    QString Report() { return Child<QPlainTextEdit>("report")->toPlainText(); }

    std::unique_ptr<QTemporaryDir> dataFolder;
    std::unique_ptr<MainWindow> window;
    QList<ShownNotice> notices;
};

void MainWindowTest::init() {
    dataFolder = std::make_unique<QTemporaryDir>();
    window = std::make_unique<MainWindow>(ActiveTool(), dataFolder->path() + QStringLiteral("/OvraMedSuite/records"));
    notices.clear();
    window->SetNoticePresenter([this](QWidget*, NoticeIcon icon, const QString& caption, const QString& text) {
        notices.append({icon, caption, text});
    });
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    window->FocusFirstField();
}

void MainWindowTest::cleanup() {
    window.reset();
    dataFolder.reset();
}

// Sends the key through the window system, so it reaches whichever widget has the focus, as typing would.
void MainWindowTest::PressIn(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    if (target != nullptr) target->setFocus();
    QTest::keyClick(window->windowHandle(), key, modifiers);
}

void MainWindowTest::geometry_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("box");
    static const char* const labels[] = {"年龄", "收缩压", "舒张压"};
    for (int i = 0; i < 6; ++i) {
        const int r = 150 + 34 * i;
        // The duration label takes two lines of the small font.
        const QRect label = i == 4 ? QRect(24, r - 9, 184, 36) : QRect(24, r + 1, 184, 22);
        QTest::addRow("label%d", i) << QStringLiteral("label%1").arg(i) << label;
        QTest::addRow("field%d", i) << QStringLiteral("field%1").arg(i) << QRect(216, r - 4, 152, 27);
        if (i < 3)
            QTest::addRow("unit%d (%s)", i, labels[i]) << QStringLiteral("unit%1").arg(i) << QRect(374, r, 78, 22);
    }
    QTest::newRow("verdict") << "verdict" << QRect(492, 142, 492, 46);
    QTest::newRow("report") << "report" << QRect(492, 196, 492, 232);
    QTest::newRow("advice") << "advice" << QRect(492, 444, 492, 120);
    QTest::newRow("reference") << "reference" << QRect(492, 576, 492, 56);
    QTest::newRow("calculate") << "button1001" << QRect(20, 668, 152, 40);
    QTest::newRow("save") << "button1002" << QRect(184, 668, 132, 40);
    QTest::newRow("copy") << "button1003" << QRect(328, 668, 132, 40);
    QTest::newRow("reset") << "button1004" << QRect(472, 668, 132, 40);
    QTest::newRow("about") << "button1005" << QRect(616, 668, 110, 40);
}

void MainWindowTest::geometry() {
    QFETCH(QString, name);
    QFETCH(QRect, box);
    QWidget* control = window->findChild<QWidget*>(name);
    QVERIFY2(control != nullptr, qPrintable(name));
    QCOMPARE(control->geometry(), box);
    QCOMPARE(control->parentWidget(), window.get());
}

void MainWindowTest::windowIsFixedAndShowsTheDefaults() {
    QCOMPARE(window->size(), QSize(1020, 720));
    QCOMPARE(window->minimumSize(), QSize(1020, 720));
    QCOMPARE(window->maximumSize(), QSize(1020, 720));
    QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(window->windowTitle(), QStringLiteral("ABCD2 评分"));
    const char* const defaults[] = {"60", "130", "80", "1", "1", "0"};
    for (int i = 0; i < 6; ++i) QCOMPARE(Field(i)->text(), QString::fromLatin1(defaults[i]));
    for (const char* name : {"unit3", "unit4", "unit5", "field6", "label6"})
        QVERIFY2(Child<QWidget>(name) == nullptr, name);
    QCOMPARE(Child<QLabel>("unit0")->text(), QStringLiteral("岁"));
    QCOMPARE(Child<QLabel>("label3")->text(), QStringLiteral("症状(2单侧无力/1言语/0其他)"));
    QCOMPARE(Child<QLabel>("verdict")->text(), QStringLiteral("填写左侧参数，点击“计算”"));
    QCOMPARE(Child<QLabel>("reference")->text(),
             QStringLiteral("参考依据：ABCD2：0-3 低危，4-5 中危，6-7 高危（2 天内卒中风险）"));
    QCOMPARE(Child<QLabel>("advice")->text(), QString::fromUtf16(ActiveTool().advice));
    QCOMPARE(Child<QAbstractButton>("button1001")->text(), QStringLiteral("计算 (F5)"));
    QCOMPARE(Child<QAbstractButton>("button1004")->text(), QStringLiteral("清空重填"));
    QCOMPARE(Status(), QStringLiteral("就绪：填写参数后按 F5 或点击“计算”"));
    QCOMPARE(QApplication::focusWidget(), Field(0));
}

void MainWindowTest::fontsAndFallbacks() {
    struct Expected {
        const char* name;
        int pixelSize;
        bool bold;
    };
    static const Expected controls[] = {{"label0", 14, false},    {"field0", 15, false},    {"unit0", 12, false},
                                        {"verdict", 21, true},    {"report", 15, false},    {"advice", 12, false},
                                        {"reference", 12, false}, {"button1001", 15, false}};
    for (const Expected& e : controls) {
        const QFont font = Child<QWidget>(e.name)->font();
        QCOMPARE(font.pixelSize(), e.pixelSize);
        QCOMPARE(font.bold(), e.bold);
    }
    const WindowFonts& fonts = window->Fonts();
    QCOMPARE(fonts.title.pixelSize(), 27);
    QVERIFY(fonts.title.bold());
    QCOMPARE(fonts.caption.pixelSize(), 14);
    QCOMPARE(fonts.small.pixelSize(), 12);
    // Where the preferred faces are missing, the fallbacks are what renders, and they carry Chinese glyphs.
    const QString textFace = QFontInfo(fonts.label).family();
    QVERIFY2(textFace == "Microsoft YaHei UI" || textFace == "Noto Sans CJK SC", qPrintable(textFace));
    const QString monoFace = QFontInfo(fonts.report).family();
    QVERIFY2(monoFace == "Consolas" || monoFace == "DejaVu Sans Mono", qPrintable(monoFace));
    QVERIFY(QFontMetrics(fonts.label).inFontUcs4(U'评'));
}

void MainWindowTest::controlColours() {
    struct Expected {
        const char* name;
        QPalette::ColorRole role;
        QRgb colour;
    };
    static const Expected controls[] = {
        {"label0", QPalette::WindowText, 0x78848E},    {"unit0", QPalette::WindowText, 0x78848E},
        {"reference", QPalette::WindowText, 0x78848E}, {"advice", QPalette::WindowText, 0x2C3842},
        {"field0", QPalette::Text, 0x2C3842},          {"report", QPalette::Text, 0x2C3842},
        {"field0", QPalette::Base, 0xFFFFFF},          {"report", QPalette::Base, 0xFFFFFF},
        {"verdict", QPalette::WindowText, 0x008060},   {"label0", QPalette::Window, 0xFFFFFF},
    };
    for (const Expected& e : controls) {
        QCOMPARE(Child<QWidget>(e.name)->palette().color(e.role).rgb() & 0xFFFFFF, e.colour);
    }
}

void MainWindowTest::paintedColours() {
    const QImage image = window->grab().toImage();
    struct Expected {
        int x, y;
        QRgb colour;
    };
    static const Expected pixels[] = {
        {4, 80, 0x0084B0},                           // accent strip
        {12, 80, 0x006C96},   {1010, 80, 0x006C96},  // header band, to the right edge
        {10, 300, 0xF4F7F9},                         // background between the edge and the left panel
        {20, 300, 0xDAE2E8},  {459, 300, 0xDAE2E8}, {460, 300, 0xF4F7F9},  // left panel outline, 1 pixel
        {30, 620, 0xFFFFFF},  {990, 620, 0xFFFFFF},                        // panel interiors
        {476, 640, 0xDAE2E8}, {999, 640, 0xDAE2E8}, {440, 133, 0xE4EAEE},
        {980, 133, 0xE4EAEE}, {440, 134, 0xFFFFFF},  // rules, 1 pixel high
        {900, 680, 0xECF1F4}, {10, 719, 0xECF1F4},   // button bar
        {24, 672, 0x007AA8},  {20, 668, 0x006A94},   // primary face and rim
        {190, 672, 0xFFFFFF}, {184, 668, 0xCED8E0},  // light face and rim
    };
    for (const Expected& p : pixels) {
        QVERIFY2(
            (image.pixel(p.x, p.y) & 0xFFFFFF) == p.colour,
            qPrintable(QStringLiteral("(%1,%2) is %3").arg(p.x).arg(p.y).arg(image.pixel(p.x, p.y) & 0xFFFFFF, 6, 16)));
    }
    // Text is painted in its colour: the title in white inside the header, the status line in grey.
    bool titleWhite = false;
    for (int x = 26; x < 200 && !titleWhite; ++x)
        for (int y = 12; y < 50; ++y) titleWhite = titleWhite || (image.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF;
    QVERIFY(titleWhite);
}

void MainWindowTest::buttonsDarkenWhilePressed() {
    auto* calculate = Child<QAbstractButton>("button1001");
    auto* save = Child<QAbstractButton>("button1002");
    calculate->setDown(true);
    save->setDown(true);
    const QImage image = window->grab().toImage();
    QCOMPARE(image.pixel(24, 672) & 0xFFFFFF, 0x00648Au);
    QCOMPARE(image.pixel(190, 672) & 0xFFFFFF, 0xE2EAF0u);
    calculate->setDown(false);
    save->setDown(false);
}

void MainWindowTest::keyRuns_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Enter in a field") << "field3" << int(Qt::Key_Return) << int(Qt::NoModifier);
    QTest::newRow("keypad Enter in a field") << "field0" << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
    QTest::newRow("F5 in a field") << "field5" << int(Qt::Key_F5) << int(Qt::NoModifier);
    QTest::newRow("Enter in the report box") << "report" << int(Qt::Key_Return) << int(Qt::NoModifier);
    QTest::newRow("Enter on the reset button") << "button1004" << int(Qt::Key_Return) << int(Qt::NoModifier);
    QTest::newRow("Ctrl+Enter in a field") << "field1" << int(Qt::Key_Return) << int(Qt::ControlModifier);
}

void MainWindowTest::keyRuns() {
    QFETCH(QString, target);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QSignalSpy returnPressed(Field(3), &QLineEdit::returnPressed);
    Field(1)->setText(QStringLiteral("150"));  // 4 points: the second level
    PressIn(window->findChild<QWidget*>(target), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(Report(), QStringLiteral("ABCD2：4 分\n"));
    QCOMPARE(Child<QLabel>("verdict")->text(), QStringLiteral("中危，尽快完成血管与心源评估"));
    QCOMPARE(Status(), QStringLiteral("计算完成  ABCD2 评分"));
    QCOMPARE(QApplication::focusWidget(), window.get());
    QCOMPARE(returnPressed.count(), 0);                 // consumed before the field saw it
    QCOMPARE(Field(1)->text(), QStringLiteral("150"));  // the reset button was not pressed
    QVERIFY(notices.isEmpty());
}

void MainWindowTest::secondF5DoesNothing() {
    PressIn(Field(0), Qt::Key_F5);
    QCOMPARE(Report(), QStringLiteral("ABCD2：3 分\n"));
    Field(1)->setText(QStringLiteral("150"));  // would score 4 if a second calculation ran
    PressIn(nullptr, Qt::Key_F5);
    PressIn(nullptr, Qt::Key_Return);
    QCOMPARE(Report(), QStringLiteral("ABCD2：3 分\n"));
    PressIn(Field(4), Qt::Key_F5);  // focus back in a field: the keys work again
    QCOMPARE(Report(), QStringLiteral("ABCD2：4 分\n"));
}

void MainWindowTest::rejectedFieldKeepsTheResultAndTakesTheFocus_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    const QString symptom = QStringLiteral("第 4 项“症状(2单侧无力/1言语/0其他)”请输入0、1 或 2。");
    QTest::newRow("not a number") << 2 << "80abc" << QStringLiteral("第 3 项“舒张压”请输入数字。");
    QTest::newRow("symptom 1.5") << 3 << "1.5" << symptom;
    QTest::newRow("symptom 5") << 3 << "5" << symptom;
    QTest::newRow("symptom -1") << 3 << "-1" << symptom;
    QTest::newRow("symptom empty") << 3 << "" << symptom;
    QTest::newRow("age 131") << 0 << "131" << QStringLiteral("第 1 项“年龄”请输入0 至 130 之间的数。");
    QTest::newRow("systolic 30") << 1 << "30" << QStringLiteral("第 2 项“收缩压”请输入40 至 300 之间的数。");
}

void MainWindowTest::rejectedFieldKeepsTheResultAndTakesTheFocus() {
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    PressIn(Field(0), Qt::Key_Return);
    window->RunCopy();
    const QString clipboard = QGuiApplication::clipboard()->text();
    Field(field)->setText(text);
    if (field != 1) Field(1)->setText(QStringLiteral("150"));  // would score 4 if the refusal let it through
    PressIn(Field(0), Qt::Key_Return);
    QCOMPARE(notices.size(), 1);
    QCOMPARE(notices[0].icon, NoticeIcon::Warning);
    QCOMPARE(notices[0].caption, QStringLiteral("输入有误"));
    QCOMPARE(notices[0].text, message);
    QCOMPARE(QApplication::focusWidget(), Field(field));
    QCOMPARE(Report(), QStringLiteral("ABCD2：3 分\n"));
    QCOMPARE(Child<QLabel>("verdict")->text(), QStringLiteral("低危，门诊随访"));
    QCOMPARE(Status(), QStringLiteral("结果已复制到剪贴板"));
    QGuiApplication::clipboard()->setText(QStringLiteral("elsewhere"));
    window->RunCopy();
    QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
}

void MainWindowTest::acceptedCodeWrittenWithADecimalPoint() {
    Field(4)->setText(QStringLiteral("2.0"));
    PressIn(Field(4), Qt::Key_F5);
    QVERIFY(notices.isEmpty());
    QCOMPARE(Report(), QStringLiteral("ABCD2：4 分\n"));
}

void MainWindowTest::verdictColourFollowsTheLevel() {
    const char* const highRisk[] = {"70", "150", "95", "2", "2", "1"};
    for (int i = 0; i < 6; ++i) Field(i)->setText(QString::fromLatin1(highRisk[i]));
    QTest::mouseClick(Child<QWidget>("button1001"), Qt::LeftButton);
    QCOMPARE(Child<QLabel>("verdict")->text(), QStringLiteral("高危，2 天内卒中风险高，住院评估"));
    QCOMPARE(Child<QLabel>("verdict")->palette().color(QPalette::WindowText).rgb() & 0xFFFFFF, 0xBE1E2Du);
    QTest::mouseClick(Child<QWidget>("button1004"), Qt::LeftButton);
    QCOMPARE(Child<QLabel>("verdict")->palette().color(QPalette::WindowText).rgb() & 0xFFFFFF, 0x008060u);
    QCOMPARE(Child<QLabel>("verdict")->text(), QStringLiteral("填写左侧参数，点击“计算”"));
    QCOMPARE(Field(0)->text(), QStringLiteral("60"));
    QCOMPARE(Report(), QString());
    QCOMPARE(Status(), QStringLiteral("已恢复默认值"));
}

void MainWindowTest::copyPutsTheResultOnTheClipboard() {
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    QTest::mouseClick(Child<QWidget>("button1001"), Qt::LeftButton);
    QTest::mouseClick(Child<QWidget>("button1003"), Qt::LeftButton);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("ABCD2 评分\r\nABCD2：3 分\r\n—— 低危，门诊随访"));
    QCOMPARE(Status(), QStringLiteral("结果已复制到剪贴板"));
}

void MainWindowTest::refusalsAndAboutAreAnsweredWithoutBlocking() {
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    QTest::mouseClick(Child<QWidget>("button1003"), Qt::LeftButton);
    QTest::mouseClick(Child<QWidget>("button1002"), Qt::LeftButton);
    QTest::mouseClick(Child<QWidget>("button1005"), Qt::LeftButton);
    QCOMPARE(notices.size(), 3);
    QCOMPARE(notices[0].caption, QStringLiteral("提示"));
    QCOMPARE(notices[0].text, QStringLiteral("请先点击“计算”生成结果。"));
    QCOMPARE(notices[1].text, QStringLiteral("请先点击“计算”生成结果，再保存记录。"));
    QCOMPARE(notices[2].icon, NoticeIcon::Information);
    QCOMPARE(notices[2].caption, QStringLiteral("关于本工具"));
    QVERIFY(notices[2].text.startsWith(QStringLiteral("ABCD2 评分\n\n分类：神经科\n")));
    QVERIFY(notices[2].text.endsWith(QStringLiteral("版本 V1.0    官网：www.ovramed.example")));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
}

void MainWindowTest::realMessageBoxIsAnsweredByATimer() {
    window->SetNoticePresenter(nullptr);
    auto local = std::make_unique<MainWindow>(ActiveTool(), dataFolder->path());
    local->show();
    QString caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box != nullptr);
        caption = box->windowTitle();
        icon = box->icon();
        buttons = box->standardButtons();
        box->accept();
    });
    local->RunCopy();  // returns only once the box is closed
    QCOMPARE(caption, QStringLiteral("提示"));
    QCOMPARE(icon, QMessageBox::Information);
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

void MainWindowTest::saveWritesIntoTheRecordsFolder() {
    QTest::mouseClick(Child<QWidget>("button1001"), Qt::LeftButton);
    QTest::mouseClick(Child<QWidget>("button1002"), Qt::LeftButton);
    const QString path = dataFolder->path() + QStringLiteral("/OvraMedSuite/records/T146.csv");
    QCOMPARE(Status(), QStringLiteral("记录已保存：") + path);
    QCOMPARE(notices.size(), 1);
    QCOMPARE(notices[0].caption, QStringLiteral("已保存"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF时间,工具,年龄,"));
    QVERIFY(bytes.endsWith(",糖尿病(1/0)=0,\"ABCD2：3 分\r\n\"\r\n"));
}

void MainWindowTest::tabMovesBetweenFields() {
    PressIn(Field(0), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), Field(1));
    PressIn(nullptr, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), Field(2));
    PressIn(Field(0), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), Field(5));
    PressIn(Field(5), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), Field(0));
    PressIn(Child<QWidget>("report"), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), Field(0));
}

void MainWindowTest::iconAtEverySize() {
    const QIcon icon = window->windowIcon();
    for (int size : ProgramIconSizes) {
        QVERIFY(icon.availableSizes().contains(QSize(size, size)));
        const QImage image = ProgramIconImage(size);
        QCOMPARE(image.size(), QSize(size, size));
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);                          // transparent outside the corners
        QCOMPARE(image.pixel(size / 2, size / 2), qRgb(255, 255, 255));  // the plus
        QCOMPARE(image.pixel(size / 4, size / 4), qRgb(0x00, 0x8C, 0xB6));
        QCOMPARE(image.pixel(size / 2, 0), qRgb(0x00, 0x74, 0x9E));  // rim
    }
}

void MainWindowTest::renderAfterCalculation() {
    Field(1)->setText(QStringLiteral("150"));
    PressIn(Field(0), Qt::Key_F5);
    const QImage image = window->grab().toImage();
    QVERIFY(image.save(QStringLiteral(OVRA_WINDOW_PNG)));
    int verdictPixels = 0;
    for (int y = 142; y < 188; ++y)
        for (int x = 492; x < 984; ++x) verdictPixels += (image.pixel(x, y) & 0xFFFFFF) == 0xD66C00;
    QVERIFY2(verdictPixels > 100, "the verdict is drawn in the colour of level 2");
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
