// The family in the window: a custom-report tool driven through the real widgets, and every record's labels
// measured in the window's own fonts.
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFontMetrics>
#include <QTemporaryDir>
#include <QTest>
#include <QTextLayout>
#include <memory>

#include "reports/reports.h"
#include "tool/catalogue/catalogue.h"
#include "ui/qt/main_window.h"

using namespace ovra;

namespace {

constexpr int LabelWidth = 184;  // the label box of an input row
constexpr int LabelLines = 2;    // in the small font, within the 34-pixel row

// What the builder itself gives the roster for these counts, in the window's capacities.
struct BuilderResult {
    QString report;
    QString verdict;
};

BuilderResult Roster(double nurses, double days) {
    const double values[MaxInputs] = {nurses, days};
    char16_t report[ReportCapacity], verdict[VerdictCapacity];
    BuildCustomReport(tool201.customReport, tool201, values, report, ReportCapacity, verdict, VerdictCapacity);
    return {QString::fromUtf16(report), QString::fromUtf16(verdict)};
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
    void everyLabelFitsItsRow_data();
    void everyLabelFitsItsRow();

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
    Enter(40, 31);  // longer than the report box's 4096 units: the window shows the cut report
    Click(1001);
    const BuilderResult expected = Roster(40, 31);
    QCOMPARE(expected.report.size(), ReportCapacity - 1);
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
    QCOMPARE(clipboard, QStringLiteral("护士排班表\r\n") + expected.report.left(1023));
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

void FamilyWindowTest::everyLabelFitsItsRow_data() {
    QTest::addColumn<QString>("label");
    for (int32_t t = 0; t < ToolCount(); ++t) {
        const Tool& tool = *AllTools()[t];
        for (int32_t i = 0; i < tool.inputCount; ++i)
            QTest::addRow("T%d %s", tool.id, tool.inputs[i].name) << QString::fromUtf16(tool.inputs[i].label);
    }
}

// One line in the label font, or at most two lines of the small font wrapped in the label box.
void FamilyWindowTest::everyLabelFitsItsRow() {
    QFETCH(QString, label);
    const WindowFonts& fonts = window->Fonts();
    const int oneLine = QFontMetrics(fonts.label).horizontalAdvance(label);
    if (oneLine <= LabelWidth) return;
    // Laid out as a word-wrapping label lays it out; a line that cannot break stays wider than the box.
    QTextLayout layout(label, fonts.small);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    int lines = 0;
    qreal widest = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(LabelWidth);
        widest = qMax(widest, line.naturalTextWidth());
        ++lines;
    }
    layout.endLayout();
    QVERIFY2(lines <= LabelLines && widest <= LabelWidth,
             qPrintable(QStringLiteral("%1 px in one line at %2 px; %3 lines, the widest %4 px, at %5 px")
                            .arg(oneLine)
                            .arg(fonts.label.pixelSize())
                            .arg(lines)
                            .arg(widest)
                            .arg(fonts.small.pixelSize())));
}

QTEST_MAIN(FamilyWindowTest)
#include "family_window_test.moc"
