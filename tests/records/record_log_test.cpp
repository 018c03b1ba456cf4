#include "records/append_record.h"

#include <gtest/gtest.h>

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
    ASSERT_EQ(Utf8(path), root.path + "/OvraMedSuite/records" + LogSeparator + "T146.csv");

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
              Bom + Header + Abcd2Record("2026-12-08 09:05:03", "60") + Abcd2Record("2027-01-02 23:59:00", "100.1234567"));
    delete outcome;
    delete state;
}

TEST(RecordLog, ValuesAreWrittenAsTheShortestGeneralFormThatReadsBack) {
    struct Case {
        double value;
        const char* cell;
    };
    static const Case cases[] = {
        {60, "=60,"},           {0.5, "=0.5,"},           {-0.25, "=-0.25,"},  {100000, "=100000,"},
        {1234567, "=1234567,"}, {99999.99, "=99999.99,"}, {1e-5, "=1e-05,"},   {1e21, "=1e+21,"},
        {0.1 + 0.2, "=0.30000000000000004,"},
    };
    for (const Case& c : cases) {
        const double values[MaxInputs] = {c.value};
        const std::string line = BuildRecord(ActiveTool(), FixedTime, values, u"r");
        EXPECT_NE(line.find(std::string(",年龄") + c.cell), std::string::npos) << line;
    }
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

TEST(RecordLog, FileNameFollowsTheToolIdJoinedWithThePlatformsSeparator) {
#ifdef _WIN32
    const std::string folder = "C:\\Users\\a/b\\records", separator = "\\";
#else
    const std::string folder = "/home/a\\b/records", separator = "/";  // a backslash is part of a POSIX name
#endif
    struct Case {
        int32_t id, number;
        const char* name;
    };
    static const Case cases[] = {{7, 1, "T007.csv"}, {1146, 1, "T1146.csv"}, {146, 2, "T146-2.csv"},
                                 {146, RestoredLogNumber, "T146-restored.csv"}};
    for (const Case& c : cases) {
        char16_t path[RecordPathCapacity];
        EXPECT_TRUE(RecordFilePath(std::filesystem::path(folder).u16string().c_str(), c.id, path, RecordPathCapacity,
                                   c.number));
        EXPECT_EQ(Utf8(path), folder + separator + c.name);
    }
}

TEST(RecordLog, APathThatDoesNotFitIsRefusedNotCut) {
    char16_t path[RecordPathCapacity];
    const std::u16string fits = u"/" + std::u16string(509, u'd');  // 510 units and "/T146.csv": 519
    EXPECT_TRUE(RecordFilePath(fits.c_str(), 146, path, RecordPathCapacity));
    EXPECT_EQ(Utf8(path), Utf8(fits) + LogSeparator + "T146.csv");
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

// The logs T146.csv, T146-2.csv and T146-3.csv ("-" for a file that is not there) and the name saved into.
struct Logs {
    std::string first, second, third, savedTo;
};

// Appends one record to logs that already hold `before` ("-": no such file).
Logs AppendTo(const Logs& before, const char16_t* line, bool& saved) {
    ScratchFolder root;
    const std::string names[3] = {"/T146.csv", "/T146-2.csv", "/T146-3.csv"};
    const std::string* contents[3] = {&before.first, &before.second, &before.third};
    for (int i = 0; i < 3; ++i) {
        if (*contents[i] != "-") WriteFile(root.path + names[i], *contents[i]);
    }
    const size_t files = static_cast<size_t>(std::distance(std::filesystem::directory_iterator(root.path), {}));
    const std::u16string folder = root.Path16();
    SaveReport report{};
    saved = AppendRecordLine(folder.c_str(), ActiveTool(), line, report) == SaveError::None;
    Logs after;
    std::string* out[3] = {&after.first, &after.second, &after.third};
    for (int i = 0; i < 3; ++i)
        *out[i] = std::filesystem::exists(root.path + names[i]) ? ReadFile(root.path + names[i]) : "-";
    after.savedTo = "/" + Utf8(report.path).substr(root.path.size() + 1);
    bool madeOne = false;
    for (int i = 0; i < 3; ++i) madeOne = madeOne || (saved && after.savedTo == names[i] && *contents[i] == "-");
    EXPECT_EQ(static_cast<size_t>(std::distance(std::filesystem::directory_iterator(root.path), {})),
              files + (madeOne ? 1 : 0))
        << "only the logs are left";
    return after;
}

TEST(RecordLog, TheRecordGoesUnderThisProgramsHeaderOnly) {
    const std::string LfHeader = Header.substr(0, Header.size() - 2) + "\n";
    std::string Quoted = "\"" + LfHeader.substr(0, LfHeader.size() - 1) + "\"\r\n";
    for (size_t at = Quoted.find(','); at != std::string::npos; at = Quoted.find(',', at + 3)) Quoted.replace(at, 1, "\",\"");
    const std::string other = Bom + "时间,工具,结果\r\n2026-01-01 00:00:00,x,舒张压=80\r\n";
    const std::string ended = Bom + Header + "2026-12-08 09:05:03,ABCD2 评分,年";
    struct Case {
        Logs before;
        Logs after;
    };
    const Case cases[] = {
        {{"", "-", "-", ""}, {Bom + Header + "line\r\n", "-", "-", "/T146.csv"}},
        {{Bom, "-", "-", ""}, {Bom + Header + "line\r\n", "-", "-", "/T146.csv"}},  // the mark alone
        {{Header, "-", "-", ""}, {Header + "line\r\n", "-", "-", "/T146.csv"}},     // no mark: still ours
        // as a spreadsheet writes the log back: LF line ends, no mark, cells quoted
        {{LfHeader, "-", "-", ""}, {LfHeader + "line\r\n", "-", "-", "/T146.csv"}},
        {{Bom + LfHeader, "-", "-", ""}, {Bom + LfHeader + "line\r\n", "-", "-", "/T146.csv"}},
        {{Quoted, "-", "-", ""}, {Quoted + "line\r\n", "-", "-", "/T146.csv"}},
        {{LfHeader.substr(0, LfHeader.size() - 4) + "\n", "-", "-", ""},
         {LfHeader.substr(0, LfHeader.size() - 4) + "\n", Bom + Header + "line\r\n", "-", "/T146-2.csv"}},
        {{ended, "-", "-", ""}, {ended + "\r\nline\r\n", "-", "-", "/T146.csv"}},   // an unended line is ended
        {{"user text\r\n", "-", "-", ""}, {"user text\r\n", Bom + Header + "line\r\n", "-", "/T146-2.csv"}},
        {{other, "-", "-", ""}, {other, Bom + Header + "line\r\n", "-", "/T146-2.csv"}},
        {{Bom + "时", "-", "-", ""}, {Bom + "时", Bom + Header + "line\r\n", "-", "/T146-2.csv"}},
        {{other, Bom + Header, "-", ""}, {other, Bom + Header + "line\r\n", "-", "/T146-2.csv"}},
        {{other, other, "-", ""}, {other, other, Bom + Header + "line\r\n", "/T146-3.csv"}},
        {{other, "", "-", ""}, {other, Bom + Header + "line\r\n", "-", "/T146-2.csv"}},
    };
    for (const Case& c : cases) {
        bool saved = false;
        const Logs after = AppendTo(c.before, u"line\r\n", saved);
        EXPECT_TRUE(saved);
        EXPECT_EQ(after.first, c.after.first);
        EXPECT_EQ(after.second, c.after.second);
        EXPECT_EQ(after.third, c.after.third);
        EXPECT_EQ(after.savedTo, c.after.savedTo);
    }
}

TEST(RecordLog, ALineTooLongForItsUtf8BoundIsNotWritten) {
    const std::u16string wide(1400, u'汉');  // 4200 bytes of UTF-8
    bool saved = true;
    EXPECT_EQ(AppendTo({Bom + Header, "-", "-", ""}, wide.c_str(), saved).first, Bom + Header);
    EXPECT_FALSE(saved);

    ScratchFolder root;
    const std::u16string folder = root.Path16();
    SaveReport report{};
    EXPECT_EQ(AppendRecordLine(folder.c_str(), ActiveTool(), wide.c_str(), report),
              SaveError::NotWritten);
    EXPECT_FALSE(std::filesystem::exists(root.path + "/T146.csv")) << "a new log appears only with its record";
}

}  // namespace
}  // namespace ovra
