#include "ui/record_log.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <iterator>
#include <memory>
#include <string>

#include "tests/ui/ui_test_support.h"

namespace ovra {
namespace {

const std::string Bom = "\xEF\xBB\xBF";
const std::string Header =
    "时间,工具,年龄,收缩压,舒张压,症状(2单侧无力/1言语/0其他),持续时间(0<10min/1 10-59/2≥60),糖尿病(1/0),结果\r\n";

std::string BuildRecord(const Tool& tool, const LocalTime& time, const double* values, const char16_t* report) {
    auto line = std::make_unique<char16_t[]>(RecordLineCapacity);
    BuildRecordLine(tool, time, values, report, line.get(), RecordLineCapacity);
    return Utf8(line.get());
}

TEST(RecordLog, FirstSaveCreatesMarkHeaderAndRecordSecondAppendsOnlyTheRecord) {
    ScratchFolder root;
    const std::u16string folder = root.Path16() + u"/OvraMedSuite/records";
    char16_t path[RecordPathCapacity];
    RecordFilePath(folder.c_str(), 146, path, RecordPathCapacity);
    ASSERT_EQ(Utf8(path), root.path + "/OvraMedSuite/records/T146.csv");

    FrontEnd* state = new FrontEnd;
    Outcome* outcome = new Outcome;
    StartFrontEnd(*state, ActiveTool());
    const char16_t* fields[] = {u"60", u"130", u"80", u"1", u"1", u"0"};
    Calculate(*state, fields, *outcome);
    SaveRecord(*state, FixedTime, folder.c_str(), *outcome);
    EXPECT_EQ(ReadFile(Utf8(path)), Bom + Header + Abcd2Record("2026-12-08 09:05:03", "60"));

    const char16_t* older[] = {u"100.1234567", u"130", u"80", u"1", u"1", u"0"};
    Calculate(*state, older, *outcome);
    SaveRecord(*state, LocalTime{2027, 1, 2, 23, 59, 0}, folder.c_str(), *outcome);
    EXPECT_EQ(ReadFile(Utf8(path)),
              Bom + Header + Abcd2Record("2026-12-08 09:05:03", "60") + Abcd2Record("2027-01-02 23:59:00", "100.123"));
    delete outcome;
    delete state;
}

TEST(RecordLog, ValuesAreWrittenInTheShortestGeneralForm) {
    const double values[] = {0.5, 60, 1234567, 1e-5, -0.25, 100000};
    const std::string line = BuildRecord(ActiveTool(), FixedTime, values, u"r");
    EXPECT_NE(line.find(",年龄=0.5,收缩压=60,舒张压=1.23457e+06,"), std::string::npos) << line;
    EXPECT_NE(line.find("=1e-05,"), std::string::npos) << line;
    EXPECT_NE(line.find("=-0.25,"), std::string::npos) << line;
    EXPECT_NE(line.find("=100000,r\r\n"), std::string::npos) << line;
}

TEST(RecordLog, CellsThatNeedItAreQuotedWithQuotesDoubled) {
    const double values[MaxInputs] = {};
    struct Case {
        const char16_t* report;
        const char* cell;
    };
    static const Case cases[] = {
        {u"plain", ",plain\r\n"},
        {u"a,b", ",\"a,b\"\r\n"},
        {u"say \"hi\"", ",\"say \"\"hi\"\"\"\r\n"},
        {u"one\rtwo", ",\"one\rtwo\"\r\n"},
        {u"line 1\r\nline 2\r\n", ",\"line 1\r\nline 2\r\n\"\r\n"},
    };
    for (const Case& c : cases) {
        const std::string line = BuildRecord(ActiveTool(), FixedTime, values, c.report);
        EXPECT_EQ(line.substr(line.size() - std::string(c.cell).size()), c.cell);
    }
    const InputField odd[] = {{"a", u"x,y", nullptr, 1}};
    const Tool tool{5, u"T \"q\"", nullptr, nullptr, nullptr, nullptr, 1, odd, 0, nullptr, 0, nullptr, 0};
    EXPECT_EQ(BuildRecord(tool, FixedTime, values, u"r"), "2026-12-08 09:05:03,\"T \"\"q\"\"\",\"x,y=0\",r\r\n");
    char16_t header[RecordLineCapacity];
    BuildHeaderLine(tool, header, RecordLineCapacity);
    EXPECT_EQ(Utf8(header), "时间,工具,\"x,y\",结果\r\n");
}

TEST(RecordLog, ReportAndInputCellsAreCutBeforeQuoting) {
    const double values[MaxInputs] = {};
    const std::u16string longReport(300, u'x');
    const std::string line = BuildRecord(ActiveTool(), FixedTime, values, longReport.c_str());
    EXPECT_EQ(line.substr(line.size() - 257), "," + std::string(254, 'x') + "\r\n");

    // A comma past the 254th unit is cut away, so the cell needs no quotes.
    const std::u16string commaLate = std::u16string(254, u'y') + u",z";
    const std::string cut = BuildRecord(ActiveTool(), FixedTime, values, commaLate.c_str());
    EXPECT_EQ(cut.substr(cut.size() - 257), "," + std::string(254, 'y') + "\r\n");

    const std::u16string longLabel(200, u'L');
    const InputField wide[] = {{"a", longLabel.c_str(), nullptr, 1}};
    const Tool tool{5, u"T", nullptr, nullptr, nullptr, nullptr, 1, wide, 0, nullptr, 0, nullptr, 0};
    EXPECT_EQ(BuildRecord(tool, FixedTime, values, u"r"), "2026-12-08 09:05:03,T," + std::string(126, 'L') + ",r\r\n");
}

TEST(RecordLog, FileNameFollowsTheToolIdAndTheFoldersSeparator) {
    char16_t path[RecordPathCapacity];
    EXPECT_TRUE(RecordFilePath(u"C:\\Users\\a\\AppData\\Local\\OvraMedSuite\\records", 7, path, RecordPathCapacity));
    EXPECT_EQ(Utf8(path), "C:\\Users\\a\\AppData\\Local\\OvraMedSuite\\records\\T007.csv");
    EXPECT_TRUE(RecordFilePath(u"/home/a/.local/share/OvraMedSuite/records", 1146, path, RecordPathCapacity));
    EXPECT_EQ(Utf8(path), "/home/a/.local/share/OvraMedSuite/records/T1146.csv");
}

TEST(RecordLog, APathThatDoesNotFitIsRefusedNotCut) {
    char16_t path[RecordPathCapacity];
    const std::u16string fits = u"/" + std::u16string(509, u'd');  // 510 units and "/T146.csv": 519
    EXPECT_TRUE(RecordFilePath(fits.c_str(), 146, path, RecordPathCapacity));
    EXPECT_EQ(Utf8(path), Utf8(fits) + "/T146.csv");
    EXPECT_FALSE(RecordFilePath((fits + u"d").c_str(), 146, path, RecordPathCapacity));
}

TEST(RecordLog, TheFolderComesFromAnAbsoluteXdgDataHomeElseTheHome) {
    struct Case {
        const char16_t* xdg;
        const char16_t* home;
        const char* folder;
    };
    static const Case cases[] = {
        {u"/data", u"/home/a", "/data/OvraMedSuite/records"},
        {u"/data/", u"/home/a", "/data/OvraMedSuite/records"},
        {u"data", u"/home/a", "/home/a/.local/share/OvraMedSuite/records"},  // relative: ignored
        {u"", u"/home/a/", "/home/a/.local/share/OvraMedSuite/records"},
        {nullptr, u"/home/a", "/home/a/.local/share/OvraMedSuite/records"},
        {nullptr, nullptr, "/.local/share/OvraMedSuite/records"},  // no home: the root folder
        {u"rel", u"rel", "/.local/share/OvraMedSuite/records"},
    };
    for (const Case& c : cases) {
        char16_t folder[RecordPathCapacity];
        EXPECT_TRUE(RecordsFolderFromEnvironment(c.xdg, c.home, folder, RecordPathCapacity));
        EXPECT_EQ(Utf8(folder), c.folder);
    }
    char16_t small[16];
    EXPECT_FALSE(RecordsFolderFromEnvironment(u"/data", nullptr, small, 16));
}

// Appends one record to a log that already holds `before`.
std::string AppendTo(const std::string& before, const char16_t* line, bool& saved) {
    ScratchFolder root;
    const std::string path = root.path + "/T146.csv";
    {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(before.data(), 1, before.size(), f);
        std::fclose(f);
    }
    const std::u16string folder = root.Path16();
    const std::u16string path16 = folder + u"/T146.csv";
    saved = AppendRecordLine(folder.c_str(), path16.c_str(), ActiveTool(), line);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root.path), {}), 1) << "no private file left";
    return ReadFile(path);
}

TEST(RecordLog, AnEmptyLogGetsMarkAndHeaderAndAnUnfinishedLineIsEnded) {
    struct Case {
        std::string before;
        std::string after;
    };
    const Case cases[] = {
        {"", Bom + Header + "line\r\n"},
        {"user text\r\n", "user text\r\nline\r\n"},  // no header: left as the user has it
        {Bom + Header + "2026-12-08 09:05:03,ABCD2 评分,年", Bom + Header + "2026-12-08 09:05:03,ABCD2 评分,年\r\nline\r\n"},
    };
    for (const Case& c : cases) {
        bool saved = false;
        EXPECT_EQ(AppendTo(c.before, u"line\r\n", saved), c.after);
        EXPECT_TRUE(saved);
    }
}

TEST(RecordLog, ALineTooLongForItsUtf8BoundIsNotWritten) {
    const std::u16string wide(1400, u'汉');  // 4200 bytes of UTF-8
    bool saved = true;
    EXPECT_EQ(AppendTo(Bom + Header, wide.c_str(), saved), Bom + Header);
    EXPECT_FALSE(saved);

    ScratchFolder root;
    const std::u16string folder = root.Path16();
    const std::u16string path16 = folder + u"/T146.csv";
    EXPECT_FALSE(AppendRecordLine(folder.c_str(), path16.c_str(), ActiveTool(), wide.c_str()));
    EXPECT_FALSE(std::filesystem::exists(root.path + "/T146.csv")) << "a new log appears only with its record";
}

}  // namespace
}  // namespace ovra
