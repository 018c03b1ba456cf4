#include "entry/selftest.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "evaluate/evaluate.h"
#include "tests/support/test_files.h"
#include "text/utf.h"

namespace ovra {
namespace {

std::u16string PathOf(const std::string& path) { return NativePath(path).u16string(); }

class SelfTest : public ::testing::Test {
protected:
    ScratchFolder folder;
    const std::string& directory = folder.path;
};

TEST_F(SelfTest, TheDefaultsGiveExactlySixLines) {
    const std::string path = directory + "/报告 1.txt";
    EXPECT_EQ(RunSelfTest(PathOf(path).c_str()), SelfTestPassed);
    const std::string expected =
        "TOOL|146|ABCD2 评分|神经科\r\n"
        "LEVEL|0\r\n"
        "OUT|ABCD2|3|分\r\n"
        "VERDICT|低危，门诊随访\r\n"
        "DETAIL|ABCD2：3 分 \r\n"
        "ERRORS|0\r\n";
    const std::string written = ReadFile(path);
    EXPECT_EQ(written, expected);
    EXPECT_EQ(written.size(), 123u);
}

TEST_F(SelfTest, AnUnwritablePathIsExitCodeThree) {
    EXPECT_EQ(RunSelfTest(PathOf(directory + "/missing/dir/r.txt").c_str()), SelfTestNotWritten);
    EXPECT_EQ(RunSelfTest(PathOf(directory).c_str()), SelfTestNotWritten);  // a directory
    EXPECT_EQ(RunSelfTest(u""), SelfTestNotWritten);
}

TEST_F(SelfTest, ALongTextIsWrittenWhole) {
    // Past the 8190 bytes a fixed conversion buffer would hold.
    std::u16string text;
    for (int i = 0; i < 5000; ++i) text += u"分";
    const std::string path = directory + "/long.txt";
    ASSERT_TRUE(WriteUtf8File(PathOf(path).c_str(), text.c_str()));
    EXPECT_EQ(ReadFile(path).size(), 15000u);
    ASSERT_TRUE(WriteUtf8File(PathOf(path).c_str(), u"x"));  // truncates
    EXPECT_EQ(ReadFile(path), "x");
}

TEST_F(SelfTest, DevFullIsNotReportedAsWritten) {
    if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full here";
    EXPECT_FALSE(WriteUtf8File(u"/dev/full", u"TOOL|146"));
}

// Tools for the report's other shapes.
const InputField inputs[] = {{"x", u"X", nullptr, 4}};
const OutputField outputs[] = {
    {"a", u"A", nullptr, "x * 2", "f0"},
    {"b", u"B", u"mg", "a + 1", "f1"},  // on its own it reads a as 0; the report sees 8
    {"c", u"C", nullptr, "sqrt(-x)", nullptr},
    {"d", u"D", nullptr, "exp(1000)", nullptr},
};
const Tool formulaTool = {7, u"T", u"sub", u"cat", u"ref", nullptr, 1, inputs, 4, outputs, 0, nullptr, 0};
const Tool customTool = {8, u"C", nullptr, u"cat", u"ref", nullptr, 1, inputs, 4, outputs, 0, nullptr, 42};

std::u16string Report(const Tool& tool, int32_t& errors) {
    static char16_t text[SelfTestTextCapacity];
    errors = BuildSelfTestReport(tool, text, SelfTestTextCapacity);
    return text;
}

TEST(SelfTestReport, OutputsAreEvaluatedOnTheirOwnAndFailuresCounted) {
    int32_t errors = -1;
    EXPECT_EQ(Report(formulaTool, errors),
              u"TOOL|7|T|cat\r\nLEVEL|0\r\nOUT|A|8|\r\nOUT|B|1.0|mg\r\nOUT|C|0.00|\r\nOUT|D|--|\r\n"
              u"VERDICT|请核对输入参数后重新计算\r\n"
              u"DETAIL|A：8 B：9.0 mg C：0.00 D：-- （部分结果无法计算，请检查输入是否合理） \r\nERRORS|2\r\n");
    EXPECT_EQ(errors, 2);
}

TEST(SelfTestReport, ACustomReportToolHasTheFixedOutLine) {
    int32_t errors = -1;
    EXPECT_EQ(Report(customTool, errors),
              u"TOOL|8|C|cat\r\nLEVEL|0\r\nOUT|报告文本|见 DETAIL|\r\nVERDICT|暂无报告内容\r\n"
              u"DETAIL|（该工具暂无自定义报告）\r\nERRORS|0\r\n");
    EXPECT_EQ(errors, 0);
}

// Long labels make long report lines, each cut to 255 characters by the evaluation.
const std::u16string longLabel(260, u'L');
OutputField ManyOutputs(int i) { return {i == 0 ? "a" : "b", longLabel.c_str(), nullptr, "1", "f0"}; }
const OutputField longOutputs[16] = {ManyOutputs(0),  ManyOutputs(1),  ManyOutputs(2),  ManyOutputs(3),
                                     ManyOutputs(4),  ManyOutputs(5),  ManyOutputs(6),  ManyOutputs(7),
                                     ManyOutputs(8),  ManyOutputs(9),  ManyOutputs(10), ManyOutputs(11),
                                     ManyOutputs(12), ManyOutputs(13), ManyOutputs(14), ManyOutputs(15)};
const Tool longTool = {9, u"L", nullptr, u"cat", u"ref", nullptr, 1, inputs, 16, longOutputs, 0, nullptr, 0};

TEST(SelfTestReport, LongReportLinesReachTheDetailLineWhole) {
    int32_t errors = -1;
    const std::u16string text = Report(longTool, errors);
    const size_t start = text.find(u"DETAIL|") + 7;
    const size_t end = text.find(u"\r\n", start);
    EXPECT_EQ(end - start, 16u * 255u);
    EXPECT_EQ(errors, 0);
}

// A roster of 40 nurses over 31 days is the longest report any tool makes (over 6000 characters); the
// DETAIL line's 8000-character bound is out of reach of every tool, so the whole report must arrive.
const InputField rosterInputs[] = {{"nurses", u"护士", nullptr, 40}, {"days", u"天数", nullptr, 31}};
const Tool rosterTool = {10, u"R", nullptr, u"cat", u"ref", nullptr, 2, rosterInputs, 0, nullptr, 0, nullptr, 1};

TEST(SelfTestReport, TheLongestCustomReportReachesTheDetailLineWhole) {
    int32_t errors = -1;
    const std::u16string text = Report(rosterTool, errors);
    char16_t report[8192], verdict[512], detail[8192];
    int32_t level = 0;
    const double values[MaxInputs] = {40, 31};
    EvaluateTool(rosterTool, values, report, 8192, verdict, 512, level, detail, 8192);
    std::u16string flattened;
    for (const char16_t* p = report; *p != 0; ++p) {
        if (*p != u'\r') flattened += *p == u'\n' ? u' ' : *p;
    }
    ASSERT_GT(flattened.size(), 6000u);
    const size_t start = text.find(u"\r\nDETAIL|") + 9;
    EXPECT_TRUE(text.substr(start) == flattened + u"\r\nERRORS|0\r\n");
}

}  // namespace
}  // namespace ovra
