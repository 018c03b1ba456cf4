// The self-test of every tool of the family: the report each record gives, and the file each program writes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "entry/selftest.h"
#include "reports/reports.h"
#include "tests/support/every_tool.h"
#include "tests/support/test_files.h"
#include "tests/support/utf8_text.h"
#include "tool/catalogue/catalogue.h"

namespace ovra {
namespace {

struct Program {
    int32_t id;
    const char* path;
};

// Written by the build: every program it made.
const Program programs[] = {
#include "tool_programs.inc"
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    if (start < text.size()) lines.push_back(text.substr(start) + "(no CR LF)");
    return lines;
}

std::string SelfTestText(const Tool& tool, int32_t* errors = nullptr) {
    static char16_t text[SelfTestTextCapacity];
    const int32_t count = BuildSelfTestReport(tool, text, SelfTestTextCapacity);
    if (errors != nullptr) *errors = count;
    return Utf8(text);
}

class EveryToolsSelfTest : public ::testing::TestWithParam<const Tool*> {
   protected:
    const Tool& tool = *GetParam();
};

TEST_P(EveryToolsSelfTest, NamesTheToolAndForACustomReportShowsItsBuildersReport) {
    int32_t errors = -1;
    const std::vector<std::string> lines = Lines(SelfTestText(tool, &errors));
    EXPECT_EQ(errors, 0);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "TOOL|" + std::to_string(tool.id) + "|" + Utf8(tool.title) + "|" + Utf8(tool.category));
    if (tool.customReport == 0) {
        EXPECT_EQ(lines.size(), 5u + tool.outputCount);
        EXPECT_EQ(lines.back(), "ERRORS|0");
        return;
    }
    double defaults[MaxInputs] = {};
    for (int32_t i = 0; i < tool.inputCount; ++i) defaults[i] = tool.inputs[i].defaultValue;
    char16_t report[8192], verdict[512];
    const int32_t level = BuildCustomReport(tool.customReport, tool, defaults, report, 8192, verdict, 512);
    std::u16string flattened;
    for (const char16_t* p = report; *p != 0 && flattened.size() < 8000; ++p) {
        if (*p != u'\r') flattened += *p == u'\n' ? u' ' : *p;
    }
    const std::vector<std::string> expected = {
        lines[0],
        "LEVEL|" + std::to_string(level),
        "OUT|报告文本|见 DETAIL|",
        "VERDICT|" + Utf8(verdict),
        "DETAIL|" + Utf8(flattened.c_str()),
        "ERRORS|0",
    };
    EXPECT_EQ(lines, expected);
}

INSTANTIATE_TEST_SUITE_P(Catalogue, EveryToolsSelfTest, ::testing::ValuesIn(AllTools(), AllTools() + ToolCount()),
                         ToolName);

const Tool* ToolOf(int32_t id) {
    for (int32_t t = 0; t < ToolCount(); ++t) {
        if (AllTools()[t]->id == id) return AllTools()[t];
    }
    return nullptr;
}

// Each program carries its own record: its file is the report of that record, byte for byte.
TEST(EveryProgram, WritesItsToolsSelfTestAndExitsWithZero) {
    const ScratchFolder folder;
    for (const Program& program : programs) {
        const Tool* tool = ToolOf(program.id);
        ASSERT_NE(tool, nullptr) << program.path;
        const std::string path = folder.path + "/T" + std::to_string(program.id) + ".txt";
        const int status = std::system(("'" + std::string(program.path) + "' --selftest '" + path + "'").c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << program.path << " status " << status;
        EXPECT_EQ(ReadFile(path), SelfTestText(*tool)) << program.path;
    }
    if (OVRA_EVERY_PROGRAM_BUILT) {
        EXPECT_EQ(std::size(programs), static_cast<size_t>(ToolCount()));
    }
}

}  // namespace
}  // namespace ovra
