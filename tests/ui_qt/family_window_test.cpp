// The family in the window: a custom-report tool driven through the real widgets, and every record's labels
// measured in the window's own fonts.
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFontMetricsF>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <vector>

#include "reports/reports.h"
#include "tool/catalogue/catalogue.h"
#include "ui/qt/main_window.h"

using namespace ovra;

namespace {

// What the builder itself gives the roster for these counts, with room to spare.
struct BuilderResult {
    QString report;
    QString verdict;
};

BuilderResult Roster(double nurses, double days) {
    const double values[MaxInputs] = {nurses, days};
    std::vector<char16_t> report(65536);
    char16_t verdict[VerdictCapacity];
    BuildCustomReport(tool201.customReport, tool201, values, report.data(), 65536, verdict, VerdictCapacity);
    return {QString::fromUtf16(report.data()), QString::fromUtf16(verdict)};
}

}  // namespace

class FamilyWindowTest : public QObject {
    Q_OBJECT

   private slots:
    void init();
    void cleanup();
    void calculateShowsTheReportAndTheBuildersVerdict();
    void copyGivesTheTitleAndTheReportWithoutTheVerdict();
    void saveKeepsAMultiLineReportInOneCell();
    void everyLabelShowsWhole_data();
    void everyLabelShowsWhole();

   private:
    template <class T>
    T* Child(const QString& name) {
        return window->findChild<T*>(name);
    }
    void Click(int button) {
        QTest::mouseClick(Child<QWidget>(QStringLiteral("button%1").arg(button)), Qt::LeftButton);
    }
    void Enter(double nurses, double days) {
        Child<QLineEdit>(QStringLiteral("field0"))->setText(QString::number(nurses));
        Child<QLineEdit>(QStringLiteral("field1"))->setText(QString::number(days));
    }

    std::unique_ptr<QTemporaryDir> dataFolder;
    std::unique_ptr<MainWindow> window;
    int notices = 0;
};

void FamilyWindowTest::init() {
    dataFolder = std::make_unique<QTemporaryDir>();
    window = std::make_unique<MainWindow>(tool201, dataFolder->path());
    notices = 0;
    window->SetNoticePresenter([this](QWidget*, NoticeIcon, const QString&, const QString&) { ++notices; });
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void FamilyWindowTest::cleanup() {
    window.reset();
    dataFolder.reset();
}

void FamilyWindowTest::calculateShowsTheReportAndTheBuildersVerdict() {
    QCOMPARE(window->windowTitle(), QStringLiteral("护士排班表"));
    Enter(40, 31);  // the longest report of the family: the window shows it whole
    Click(1001);
    const BuilderResult expected = Roster(40, 31);
    QCOMPARE(expected.report.size(), 6390);
    QCOMPARE(Child<QPlainTextEdit>(QStringLiteral("report"))->toPlainText(),
             QString(expected.report).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    QCOMPARE(Child<QLabel>(QStringLiteral("verdict"))->text(), expected.verdict);
    QCOMPARE(expected.verdict, QStringLiteral("已生成轮转排班表，可复制到排班本或表格"));
    QCOMPARE(QString::fromUtf16(window->State().statusText), QStringLiteral("计算完成  护士排班表"));
    QCOMPARE(notices, 0);
}

void FamilyWindowTest::copyGivesTheTitleAndTheReportWithoutTheVerdict() {
    Enter(40, 31);
    Click(1001);
    Click(1003);
    const BuilderResult expected = Roster(40, 31);
    const QString clipboard = QGuiApplication::clipboard()->text();
    QCOMPARE(clipboard, QStringLiteral("护士排班表\r\n") + expected.report);
    QVERIFY(!clipboard.contains(expected.verdict));
    QVERIFY(!clipboard.contains(QStringLiteral("——")));
}

void FamilyWindowTest::saveKeepsAMultiLineReportInOneCell() {
    Click(1001);  // the defaults: 6 nurses over 7 days
    Click(1002);
    QFile file(dataFolder->path() + QStringLiteral("/T201.csv"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QString text = QString::fromUtf8(bytes.mid(3));
    QVERIFY(text.startsWith(QStringLiteral("时间,工具,护士人数,排班天数,结果\r\n")));
    // The report's first 254 units, line ends and all, stand in one quoted cell that ends the record.
    const QString cell = Roster(6, 7).report.left(ReportCellLimit);
    QVERIFY(cell.contains(QStringLiteral("\r\n")));
    QVERIFY2(text.endsWith(QStringLiteral(",护士排班表,护士人数=6,排班天数=7,\"") + cell + QStringLiteral("\"\r\n")),
             qPrintable(text));
    QCOMPARE(text.count(QStringLiteral("\r\n")), 2 + cell.count(QStringLiteral("\r\n")));
}

void FamilyWindowTest::everyLabelShowsWhole_data() {
    QTest::addColumn<int>("tool");
    for (int32_t t = 0; t < ToolCount(); ++t) QTest::addRow("T%d", AllTools()[t]->id) << t;
}

// Each record's window, measured in the fonts its labels show in: every line fits the box across, the lines fit
// it down, the break parts no code from its meaning, and the box stays between the fields above and below.
void FamilyWindowTest::everyLabelShowsWhole() {
    QFETCH(int, tool);
    const Tool& record = *AllTools()[tool];
    MainWindow shown(record, dataFolder->path());
    for (int i = 0; i < record.inputCount; ++i) {
        auto* label = shown.findChild<QLabel*>(QStringLiteral("label%1").arg(i));
        QVERIFY(label != nullptr);
        const QStringList lines = label->text().split(QLatin1Char('\n'));
        QCOMPARE(lines.join(QString()), QString::fromUtf16(record.inputs[i].label));
        const QFontMetricsF metrics(label->font());
        for (const QString& line : lines)
            QVERIFY2(metrics.horizontalAdvance(line) <= label->contentsRect().width(), qPrintable(line));
        QVERIFY(lines.size() * metrics.lineSpacing() <= label->contentsRect().height());
        // A second line starts at the parenthesis or at the space before a code, never inside an item. The
        // drug lists of the compatibility check are too long for that: they show whole, broken where they must.
        if (lines.size() == 2 && record.id != 206) {
            const QString& second = lines[1];
            const bool atParenthesis = second.startsWith(QLatin1Char('(')) || second.startsWith(QChar(u'（'));
            const bool atCode = second.size() > 1 && second[0] == QLatin1Char(' ') && second[1].isDigit();
            QVERIFY2(atParenthesis || atCode, qPrintable(label->text()));
        }
        const Box above = FieldBox(i - 1), below = FieldBox(i + 1);
        QVERIFY(label->geometry().top() > above.y + above.h && label->geometry().bottom() < below.y);
    }
}

QTEST_MAIN(FamilyWindowTest)
#include "family_window_test.moc"
