// The window driven as a user would: keys and clicks on the real widgets, texts and pixels compared.
#include "ui/qt/main_window.h"

#include <unistd.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFontInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "ui/qt/program_icon.h"
#include "ui/window_colours.h"

using namespace ovra;

namespace {

// Where a box of the layout stands at 100 %.
QRect RectOf(const Box& box) { return QRect(box.x, box.y, box.w, box.h); }

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
    void secondF5CalculatesAgain();
    void rejectedFieldKeepsTheResultAndTakesTheFocus_data();
    void rejectedFieldKeepsTheResultAndTakesTheFocus();
    void acceptedCodeWrittenWithADecimalPoint();
    void verdictColourFollowsTheLevel();
    void copyPutsTheResultOnTheClipboard();
    void aClipboardTakenBackIsAFailedCopy();
    void refusalsAndAboutAreAnsweredWithoutBlocking();
    void realMessageBoxIsAnsweredByATimer();
    void saveWritesIntoTheRecordsFolder();
    void tabWalksEveryStop();
    void buttonsRunOnSpaceAndEnter_data();
    void buttonsRunOnSpaceAndEnter();
    void commandKeysWorkFromAnywhere_data();
    void commandKeysWorkFromAnywhere();
    void modifiersTypeNothingButEditingWorks();
    void focusReturnsAfterAMessageBox();
    void messageBoxesSpeakChinese();
    void focusIsMarked();
    void accessibleNamesAndRoles();
    void resultsAreAnnounced();
    void everyTextQueryOfEveryFieldAnswers();
    void fitsAWorkAreaOf1366x728();
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
        // The duration label takes two lines of the small font.
        const LabelLayout layout = {i == 4, i == 4 ? 1 : 0, true};
        QTest::addRow("label%d", i) << QStringLiteral("label%1").arg(i) << RectOf(LabelBoxOf(layout, i));
        QTest::addRow("field%d", i) << QStringLiteral("field%1").arg(i) << RectOf(FieldBox(i));
        if (i < 3) QTest::addRow("unit%d (%s)", i, labels[i]) << QStringLiteral("unit%1").arg(i) << RectOf(UnitBox(i));
    }
    QTest::newRow("verdict") << "verdict" << RectOf(ResultRowOf(ResultControl::Verdict).box);
    QTest::newRow("report") << "report" << RectOf(ResultRowOf(ResultControl::Report).box);
    QTest::newRow("advice") << "advice" << RectOf(ResultRowOf(ResultControl::Advice).box);
    QTest::newRow("reference") << "reference" << RectOf(ResultRowOf(ResultControl::Reference).box);
    for (const ButtonRow& row : ButtonRows) {
        const int id = 1001 + static_cast<int>(row.button);
        QTest::addRow("button%d", id) << QStringLiteral("button%1").arg(id) << RectOf(row.box);
    }
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
    const QSize client(ClientWidth, ClientHeight);
    QCOMPARE(window->size(), client);
    QCOMPARE(window->minimumSize(), client);
    QCOMPARE(window->maximumSize(), client);
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
    const auto font = [&fonts](FontRole role) { return fonts[static_cast<size_t>(role)]; };
    QCOMPARE(font(FontRole::Title).pixelSize(), 27);
    QVERIFY(font(FontRole::Title).bold());
    QCOMPARE(font(FontRole::Caption).pixelSize(), 14);
    QCOMPARE(font(FontRole::Small).pixelSize(), 12);
    // Where the preferred faces are missing, the fallbacks are what renders, and they carry Chinese glyphs.
    const QString textFace = QFontInfo(font(FontRole::Label)).family();
    QVERIFY2(textFace == "Microsoft YaHei UI" || textFace == "Microsoft YaHei" || textFace == "Noto Sans CJK SC",
             qPrintable(textFace));
    const QString monoFace = QFontInfo(font(FontRole::Report)).family();
    QVERIFY2(monoFace == "Consolas" || monoFace == "DejaVu Sans Mono", qPrintable(monoFace));
    QVERIFY(QFontMetrics(font(FontRole::Label)).inFontUcs4(U'评'));
}

void MainWindowTest::controlColours() {
    struct Expected {
        const char* name;
        QPalette::ColorRole role;
        QRgb colour;
    };
    static const Expected controls[] = {
        {"label0", QPalette::WindowText, 0x606A72},    {"unit0", QPalette::WindowText, 0x606A72},
        {"reference", QPalette::WindowText, 0x606A72}, {"advice", QPalette::WindowText, 0x2C3842},
        {"field0", QPalette::Text, 0x2C3842},          {"report", QPalette::Text, 0x2C3842},
        {"field0", QPalette::Base, 0xFFFFFF},          {"report", QPalette::Base, 0xFFFFFF},
        {"verdict", QPalette::WindowText, 0x606A72},   {"label0", QPalette::Window, 0xFFFFFF},
        {"status", QPalette::WindowText, 0x606A72},
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
        {190, 672, 0xFFFFFF}, {184, 668, 0x65849D},  // light face and rim
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
    QTest::addColumn<int>("repeats");  // presses the key sends again while held
    QTest::newRow("Enter in a field") << "field3" << int(Qt::Key_Return) << int(Qt::NoModifier) << 0;
    QTest::newRow("keypad Enter in a field") << "field0" << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << 0;
    QTest::newRow("F5 in a field") << "field5" << int(Qt::Key_F5) << int(Qt::NoModifier) << 0;
    QTest::newRow("Enter in the report box") << "report" << int(Qt::Key_Return) << int(Qt::NoModifier) << 0;
    QTest::newRow("Ctrl+Enter in a field") << "field1" << int(Qt::Key_Return) << int(Qt::ControlModifier) << 0;
    QTest::newRow("Enter held in a field") << "field2" << int(Qt::Key_Return) << int(Qt::NoModifier) << 3;
}

void MainWindowTest::keyRuns() {
    QFETCH(QString, target);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, repeats);
    QSignalSpy returnPressed(Field(3), &QLineEdit::returnPressed);
    QSignalSpy shown(Child<QPlainTextEdit>("report"), &QPlainTextEdit::textChanged);
    Field(1)->setText(QStringLiteral("150"));  // 4 points: the second level
    PressIn(window->findChild<QWidget*>(target), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    for (int r = 0; r < repeats; ++r) {
        QKeyEvent held(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), QString(), true);
        QApplication::sendEvent(QApplication::focusWidget(), &held);
    }
    QCOMPARE(shown.count(), 1);  // calculated once
    QCOMPARE(Report(), QStringLiteral("ABCD2：4 分\n"));
    QCOMPARE(Child<QLabel>("verdict")->text(), QStringLiteral("中危，尽快完成血管与心源评估"));
    QCOMPARE(Status(), QStringLiteral("计算完成  ABCD2 评分"));
    QCOMPARE(QApplication::focusWidget(), window->findChild<QWidget*>(target));  // the focus stays
    QCOMPARE(returnPressed.count(), 0);                                          // consumed before the field saw it
    QCOMPARE(Field(1)->text(), QStringLiteral("150"));
    QVERIFY(notices.isEmpty());
}

void MainWindowTest::secondF5CalculatesAgain() {
    PressIn(Field(0), Qt::Key_F5);
    QCOMPARE(Report(), QStringLiteral("ABCD2：3 分\n"));
    QCOMPARE(QApplication::focusWidget(), Field(0));
    Field(1)->setText(QStringLiteral("150"));
    PressIn(nullptr, Qt::Key_F5);  // straight after: the focus is still in the field
    QCOMPARE(Report(), QStringLiteral("ABCD2：4 分\n"));
    Field(1)->setText(QStringLiteral("130"));
    PressIn(nullptr, Qt::Key_Return);
    QCOMPARE(Report(), QStringLiteral("ABCD2：3 分\n"));
}

void MainWindowTest::rejectedFieldKeepsTheResultAndTakesTheFocus_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    const QString symptom = QStringLiteral("第 4 项“症状(2单侧无力/1言语/0其他)”请输入0、1 或 2。");
    QTest::newRow("not a number") << 2 << "80abc" << QStringLiteral("第 3 项“舒张压”请输入数字。");
    QTest::newRow("128 units") << 0 << QString(127, QLatin1Char(' ')) + QLatin1Char('7')
                               << QStringLiteral("第 1 项“年龄”请输入数字。");
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
    window->Run(KeyAction::Copy);
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
    window->Run(KeyAction::Copy);
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
    // Back to the prompt, in the neutral colour: not a low-risk result.
    QCOMPARE(Child<QLabel>("verdict")->palette().color(QPalette::WindowText).rgb() & 0xFFFFFF, 0x606A72u);
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

// Another program (a clipboard manager) puts its own text back the moment ours arrives: the copy failed.
void MainWindowTest::aClipboardTakenBackIsAFailedCopy() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QString theirs = QStringLiteral("another program's text");
    clipboard->setText(theirs);
    PressIn(Field(0), Qt::Key_F5);
    const QMetaObject::Connection takeBack = connect(clipboard, &QClipboard::dataChanged, this, [&] {
        if (clipboard->text() != theirs) clipboard->setText(theirs);
    });
    window->Run(KeyAction::Copy);
    disconnect(takeBack);
    QCOMPARE(notices.size(), 1);
    QCOMPARE(notices[0].icon, NoticeIcon::Warning);
    QCOMPARE(notices[0].caption, QStringLiteral("复制失败"));
    QCOMPARE(Status(), QStringLiteral("复制失败：结果未复制到剪贴板"));
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
    local->Run(KeyAction::Copy);  // returns only once the box is closed
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

void MainWindowTest::tabWalksEveryStop() {
    static const char* const ring[] = {"field0", "field1",     "field2",     "field3",     "field4",     "field5",
                                       "report", "button1001", "button1002", "button1003", "button1004", "button1005"};
    for (const char* stop : ring) {
        QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(stop));
        PressIn(nullptr, Qt::Key_Tab);
    }
    QCOMPARE(QApplication::focusWidget(), Field(0));  // round again
    for (int i = 11; i >= 0; --i) {
        PressIn(nullptr, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(ring[i]));
    }
    QCOMPARE(Field(0)->selectedText(), QStringLiteral("60"));  // a field reached by Tab is selected whole
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

void MainWindowTest::buttonsRunOnSpaceAndEnter_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("key");
    for (int key : {int(Qt::Key_Space), int(Qt::Key_Return)}) {
        for (int b = 1001; b <= 1005; ++b)
            QTest::addRow("%s on %d", key == Qt::Key_Space ? "Space" : "Enter", b) << b << key;
    }
}

// Each button, focused, runs its own command and keeps the focus. A result and a changed field are set up
// first, so every command has something to show.
void MainWindowTest::buttonsRunOnSpaceAndEnter() {
    QFETCH(int, button);
    QFETCH(int, key);
    PressIn(Field(0), Qt::Key_F5);
    Field(1)->setText(QStringLiteral("150"));
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    QWidget* target = Child<QWidget>(QStringLiteral("button%1").arg(button).toLatin1().constData());
    PressIn(target, Qt::Key(key));
    QCOMPARE(QApplication::focusWidget(), target);
    const bool calculated = Report() == QStringLiteral("ABCD2：4 分\n");
    const bool saved = !notices.isEmpty() && notices.last().caption == QStringLiteral("已保存");
    const bool copied = QGuiApplication::clipboard()->text() != QStringLiteral("before");
    const bool reset = Field(1)->text() == QStringLiteral("130");
    const bool about = !notices.isEmpty() && notices.last().caption == QStringLiteral("关于本工具");
    const bool ran[] = {calculated, saved, copied, reset, about};
    for (int b = 0; b < 5; ++b) QVERIFY2(ran[b] == (b == button - 1001), qPrintable(QString::number(b)));
}

void MainWindowTest::commandKeysWorkFromAnywhere_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("expected");  // the notice caption, or "copied"
    const int ctrl = int(Qt::ControlModifier), ctrlShift = int(Qt::ControlModifier | Qt::ShiftModifier);
    for (const char* target : {"field2", "report", "button1004"}) {
        QTest::addRow("Ctrl+S in %s", target) << target << int(Qt::Key_S) << ctrl << "已保存";
        QTest::addRow("Ctrl+Shift+C in %s", target) << target << int(Qt::Key_C) << ctrlShift << "copied";
        QTest::addRow("F1 in %s", target) << target << int(Qt::Key_F1) << int(Qt::NoModifier) << "关于本工具";
    }
}

void MainWindowTest::commandKeysWorkFromAnywhere() {
    QFETCH(QString, target);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, expected);
    PressIn(Field(0), Qt::Key_F5);
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    QWidget* control = window->findChild<QWidget*>(target);
    PressIn(control, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    if (expected == QStringLiteral("copied")) {
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("ABCD2 评分\r\nABCD2：3 分\r\n—— 低危，门诊随访"));
        QVERIFY(notices.isEmpty());
    } else {
        QCOMPARE(notices.size(), 1);
        QCOMPARE(notices[0].caption, expected);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
    }
    QCOMPARE(QApplication::focusWidget(), control);
}

void MainWindowTest::modifiersTypeNothingButEditingWorks() {
    QLineEdit* age = Field(0);
    PressIn(age, Qt::Key_End);
    for (Qt::Key key : {Qt::Key_1, Qt::Key_9, Qt::Key_A}) {
        PressIn(nullptr, key, Qt::AltModifier);
        PressIn(nullptr, key, Qt::ControlModifier | Qt::AltModifier);
    }
    PressIn(nullptr, Qt::Key_B, Qt::ControlModifier);
    QCOMPARE(age->text(), QStringLiteral("60"));
    PressIn(nullptr, Qt::Key_F5);
    QCOMPARE(Report(), QStringLiteral("ABCD2：3 分\n"));  // the age read was 60, not 6019
    PressIn(nullptr, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(age->selectedText(), QStringLiteral("60"));
    PressIn(nullptr, Qt::Key_7);
    QCOMPARE(age->text(), QStringLiteral("7"));
    PressIn(nullptr, Qt::Key_Z, Qt::ControlModifier);
    PressIn(nullptr, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(age->text(), QStringLiteral("60"));
}

// A real message box: while it is open it has the focus; once closed, the control that had it has it again.
void MainWindowTest::focusReturnsAfterAMessageBox() {
    window->SetNoticePresenter(nullptr);
    auto local = std::make_unique<MainWindow>(ActiveTool(), dataFolder->path());
    local->show();
    local->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(local.get()));
    for (const char* name : {"button1003", "field2", "report", "button1005"}) {
        QWidget* control = local->findChild<QWidget*>(QString::fromLatin1(name));
        control->setFocus();
        QWidget* focusInBox = nullptr;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            QApplication::setActiveWindow(box);  // as a window manager would; offscreen leaves it to us
            box->button(QMessageBox::Ok)->setFocus();
            focusInBox = QApplication::focusWidget();
            box->accept();
        });
        QTest::keyClick(local->windowHandle(), Qt::Key_F1);  // About, from wherever the focus is
        QVERIFY2(focusInBox != nullptr && focusInBox != control, name);
        QTRY_COMPARE(QApplication::focusWidget(), control);
    }
}

void MainWindowTest::messageBoxesSpeakChinese() {
    PrepareApplication();
    QMessageBox box(QMessageBox::Information, QStringLiteral("提示"), QStringLiteral("x"), QMessageBox::Ok);
    QCOMPARE(box.button(QMessageBox::Ok)->text(), QStringLiteral("确定"));
}

void MainWindowTest::focusIsMarked() {
    struct Case {
        const char* focused;
        QPoint mark;  // a pixel of the focus mark
        QRgb colour;
    };
    const FocusMark mark = FocusMarkAt(1.0);
    const Box field = FieldBox(2), report = ResultRowOf(ResultControl::Report).box;
    const Box save = ButtonRowOf(WindowButton::Save).box, calculate = ButtonRowOf(WindowButton::Calculate).box;
    const Case cases[] = {
        {"field2", {field.x + 70, field.y - mark.gap - 1}, Colours.focusMark},    // the ring's inner edge above it
        {"report", {report.x - mark.gap - 1, 300}, Colours.focusMark},            // left of the report box
        {"button1002", {save.x + mark.gap + 1, save.y + 20}, Colours.focusMark},  // inside a light button's edge
        {"button1001", {calculate.x + 60, calculate.y + mark.gap + 1}, Colours.focusMarkOnPrimary},
    };
    for (const Case& c : cases) {
        QWidget* control = window->findChild<QWidget*>(QString::fromLatin1(c.focused));
        control->setFocus();
        QCOMPARE(window->grab().toImage().pixel(c.mark) & 0xFFFFFF, c.colour);
        Field(0)->setFocus();  // elsewhere: the mark is gone
        QVERIFY((window->grab().toImage().pixel(c.mark) & 0xFFFFFF) != c.colour);
    }
}

namespace {

QAccessibleInterface* Accessible(QObject* object) { return QAccessible::queryAccessibleInterface(object); }

}  // namespace

void MainWindowTest::accessibleNamesAndRoles() {
    const Tool& tool = ActiveTool();
    static const char* const descriptions[] = {"岁；0 至 130 之间的数",
                                               "mmHg；40 至 300 之间的数",
                                               "mmHg；20 至 200 之间的数",
                                               "0、1 或 2",
                                               "0、1 或 2",
                                               "0 或 1"};
    for (int i = 0; i < 6; ++i) {
        QAccessibleInterface* field = Accessible(Field(i));
        QCOMPARE(field->role(), QAccessible::EditableText);
        QCOMPARE(field->text(QAccessible::Name), QString::fromUtf16(tool.inputs[i].label));
        QCOMPARE(field->text(QAccessible::Description), QString::fromUtf8(descriptions[i]));
        QCOMPARE(field->text(QAccessible::Value), Field(i)->text());
        QVERIFY(field->textInterface() != nullptr);
    }
    QCOMPARE(Accessible(Child<QWidget>("report"))->text(QAccessible::Name), QStringLiteral("计算结果"));
    static const char* const captions[] = {"计算 (F5)", "保存记录", "复制结果", "清空重填", "关于"};
    for (int b = 0; b < 5; ++b) {
        QAccessibleInterface* button = Accessible(Child<QWidget>(QStringLiteral("button%1").arg(1001 + b).toLatin1()));
        QCOMPARE(button->role(), QAccessible::Button);
        QCOMPARE(button->text(QAccessible::Name), QString::fromUtf8(captions[b]));
        QVERIFY(button->state().focusable);
    }
    QCOMPARE(Accessible(window.get())->role(), QAccessible::Window);  // a frame to the screen reader
    QCOMPARE(Accessible(Child<QWidget>("verdict"))->text(QAccessible::Name),
             QStringLiteral("填写左侧参数，点击“计算”"));
    QCOMPARE(Accessible(Child<QWidget>("status"))->text(QAccessible::Name), Status());
    PressIn(Field(0), Qt::Key_F5);
    QCOMPARE(Accessible(Child<QWidget>("verdict"))->text(QAccessible::Name), QStringLiteral("低危，门诊随访"));
    QCOMPARE(Accessible(Child<QWidget>("status"))->text(QAccessible::Name), QStringLiteral("计算完成  ABCD2 评分"));
    QCOMPARE(Accessible(Child<QWidget>("announcement"))->role(), QAccessible::Notification);
}

namespace {

// Records the name the notification object has each time it is shown: the moment Qt tells assistive
// technology (an ObjectShow event; the offscreen platform has no bridge to watch the event itself).
class ShowRecorder : public QObject {
   public:
    QStringList said;

   protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) said.append(Accessible(watched)->text(QAccessible::Name));
        return false;
    }
};

}  // namespace

void MainWindowTest::resultsAreAnnounced() {
    QWidget* announcement = Child<QWidget>("announcement");
    QCOMPARE(Accessible(announcement)->role(), QAccessible::Notification);
    ShowRecorder recorder;
    announcement->installEventFilter(&recorder);
    struct Step {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* said;  // nullptr: the saved path
    };
    const Step steps[] = {
        {Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier, ""},  // refused: the notice box speaks
        {Qt::Key_F5, Qt::NoModifier, "低危，门诊随访"},
        {Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier, "结果已复制到剪贴板"},
        {Qt::Key_S, Qt::ControlModifier, nullptr},
        {Qt::Key_F1, Qt::NoModifier, ""},  // About has a box of its own and no news
    };
    for (const Step& step : steps) {
        recorder.said.clear();
        PressIn(Field(0), step.key, step.modifiers);
        const QString said = step.said != nullptr ? QString::fromUtf8(step.said) : Status();
        QCOMPARE(recorder.said, said.isEmpty() ? QStringList() : QStringList{said});
    }
    recorder.said.clear();
    QTest::mouseClick(Child<QWidget>("button1004"), Qt::LeftButton);
    QCOMPARE(recorder.said, QStringList{QStringLiteral("已恢复默认值")});
}

// Qt 6.4.2's own answer to a word query can loop for ever: a watchdog ends the process rather than let the
// run hang, so the hang is a failure.
void MainWindowTest::everyTextQueryOfEveryFieldAnswers() {
    std::atomic<bool> done{false};
    std::thread watchdog([&done] {
        for (int tenth = 0; tenth < 300 && !done; ++tenth) std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (!done) {
            static const char message[] = "FAIL: a text query of a field did not answer within 30 s\n";
            (void)!write(2, message, sizeof message - 1);
            _exit(1);
        }
    });
    static const char* const texts[] = {"60",
                                        "",
                                        " 1.5  e3 x",
                                        "a",
                                        "12 34",
                                        "\xF0\x9F\x98\x80"
                                        "1",
                                        "  "};
    static const QAccessible::TextBoundaryType boundaries[] = {
        QAccessible::CharBoundary,      QAccessible::WordBoundary, QAccessible::SentenceBoundary,
        QAccessible::ParagraphBoundary, QAccessible::LineBoundary, QAccessible::NoBoundary};
    int answers = 0;
    for (int i = 0; i < 6; ++i) {
        QAccessibleTextInterface* text = Accessible(Field(i))->textInterface();
        QVERIFY(text != nullptr);
        for (const char* sample : texts) {
            Field(i)->setText(QString::fromUtf8(sample));
            const QString whole = Field(i)->text();
            QCOMPARE(text->characterCount(), whole.size());
            for (int offset = -2; offset <= whole.size() + 1; ++offset) {
                for (QAccessible::TextBoundaryType boundary : boundaries) {
                    int start = 0, end = 0;
                    const QString pieces[] = {text->textBeforeOffset(offset, boundary, &start, &end),
                                              text->textAtOffset(offset, boundary, &start, &end),
                                              text->textAfterOffset(offset, boundary, &start, &end)};
                    (void)pieces;
                    // The last answer names its own range within the text.
                    if (start >= 0) QCOMPARE(pieces[2], whole.mid(start, end - start));
                    ++answers;
                }
            }
        }
    }
    done = true;
    watchdog.join();
    QVERIFY(answers > 500);
    // Words keep their spaces after them, and the word before the second is the first.
    Field(0)->setText(QStringLiteral("12 34"));
    QAccessibleTextInterface* text = Accessible(Field(0))->textInterface();
    int start = 0, end = 0;
    QCOMPARE(text->textAtOffset(4, QAccessible::WordBoundary, &start, &end), QStringLiteral("34"));
    QCOMPARE(text->textBeforeOffset(4, QAccessible::WordBoundary, &start, &end), QStringLiteral("12 "));
    QCOMPARE(start, 0);
    QCOMPARE(text->textAfterOffset(0, QAccessible::WordBoundary, &start, &end), QStringLiteral("34"));
    QCOMPARE(text->textAtOffset(1, QAccessible::CharBoundary, &start, &end), QStringLiteral("2"));
}

// On a work area of 1366×728 the window and its frame fit, scaled as one; where there is room it is exactly
// the 100 % layout again.
void MainWindowTest::fitsAWorkAreaOf1366x728() {
    const QMargins frame(1, 29, 1, 1);
    const QRect workArea(0, 40, 1366, 728);  // a task bar along the top
    window->FitInto(workArea, frame);
    const double factor = (728.0 - 30) / 720;
    QCOMPARE(window->FitScale(), factor);
    const QRect outer = QRect(window->pos(), window->size()).marginsAdded(QMargins(0, 0, 2, 30));
    QVERIFY2(
        workArea.contains(outer),
        qPrintable(QStringLiteral("%1,%2 %3x%4").arg(outer.x()).arg(outer.y()).arg(outer.width()).arg(outer.height())));
    QCOMPARE(outer.center().x(), workArea.center().x());
    QCOMPARE(Child<QWidget>("verdict")->font().pixelSize(), qRound(21 * factor));
    const Box about = ButtonRowOf(WindowButton::About).box, field = FieldBox(5);
    QCOMPARE(Child<QWidget>("button1005")->geometry().right(), qRound((about.x + about.w) * factor) - 1);
    QCOMPARE(Child<QWidget>("field5")->geometry().bottom(), qRound((field.y + field.h) * factor) - 1);
    QCOMPARE(window->grab().toImage().pixel(window->width() - 1, window->height() - 1) & 0xFFFFFF, Colours.buttonBar);
    window->FitInto(QRect(0, 0, 1920, 1040), frame);
    QCOMPARE(window->FitScale(), 1.0);
    QCOMPARE(window->size(), QSize(ClientWidth, ClientHeight));
    QCOMPARE(Child<QWidget>("field5")->geometry(), RectOf(field));
    QCOMPARE(Child<QWidget>("label4")->geometry(), RectOf(LabelBoxOf({true, 1, true}, 4)));
    QCOMPARE(Child<QWidget>("verdict")->font().pixelSize(), 21);
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
