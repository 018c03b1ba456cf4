// Every record of the family against the rules of the model, its builder and its input checks.
#include "tool/catalogue/catalogue.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "expr/expression.h"
#include "reports/reports.h"
#include "tests/tool/input_reads.h"
#include "tests/support/every_tool.h"
#include "tests/support/utf8_text.h"

namespace ovra {
namespace {

bool Present(const char16_t* text) { return text != nullptr && text[0] != 0; }

bool IsIdentifier(const char* name) {
    if (name == nullptr || name[0] == 0 || std::strlen(name) > 63) return false;
    if (!std::isalpha(static_cast<unsigned char>(name[0])) && name[0] != '_') return false;
    for (const char* p = name; *p != 0; ++p) {
        if (!std::isalnum(static_cast<unsigned char>(*p)) && *p != '_') return false;
    }
    return true;
}

std::vector<double> Defaults(const Tool& tool) {
    std::vector<double> values(MaxInputs, 0.0);
    for (int32_t i = 0; i < tool.inputCount && i < MaxInputs; ++i) values[i] = tool.inputs[i].defaultValue;
    return values;
}

class EveryTool : public ::testing::TestWithParam<const Tool*> {
   protected:
    const Tool& tool = *GetParam();
};

TEST_P(EveryTool, KeepsTheLimitsOfTheModel) {
    ASSERT_GE(tool.inputCount, 0);
    ASSERT_LE(tool.inputCount, MaxInputs);
    ASSERT_GE(tool.outputCount, 0);
    ASSERT_LE(tool.outputCount, MaxOutputs);
    ASSERT_GE(tool.ruleCount, 0);
    ASSERT_TRUE(tool.inputCount == 0 || tool.inputs != nullptr);
    ASSERT_TRUE(tool.outputCount == 0 || tool.outputs != nullptr);
    ASSERT_TRUE(tool.ruleCount == 0 || tool.rules != nullptr);
    EXPECT_TRUE(tool.id >= 1 && tool.id <= 999) << "the log file name T%03d holds three digits";
    EXPECT_TRUE(tool.customReport >= 0 && tool.customReport <= 11) << "no builder for " << tool.customReport;
    // An output named like an input, or like an earlier output, can never be read.
    std::set<std::string> names;
    for (int32_t i = 0; i < tool.inputCount; ++i) {
        EXPECT_TRUE(IsIdentifier(tool.inputs[i].name)) << "input " << i + 1;
        if (tool.inputs[i].name != nullptr) {
            EXPECT_TRUE(names.insert(tool.inputs[i].name).second) << "input " << tool.inputs[i].name << " twice";
        }
    }
    for (int32_t j = 0; j < tool.outputCount; ++j) {
        EXPECT_TRUE(IsIdentifier(tool.outputs[j].name)) << "output " << j + 1;
        if (tool.outputs[j].name != nullptr) {
            EXPECT_TRUE(names.insert(tool.outputs[j].name).second) << "output " << tool.outputs[j].name << " twice";
        }
    }
}

TEST_P(EveryTool, CarriesItsRequiredTexts) {
    EXPECT_TRUE(Present(tool.title));
    EXPECT_TRUE(Present(tool.category));
    EXPECT_TRUE(Present(tool.reference));
    for (int32_t i = 0; i < tool.inputCount; ++i) {
        const InputField& input = tool.inputs[i];
        EXPECT_TRUE(Present(input.label)) << input.name;
        // A refusal names what the input accepts, so a check comes with its text.
        EXPECT_EQ(input.check != nullptr, Present(input.accepted)) << input.name;
    }
    for (int32_t j = 0; j < tool.outputCount; ++j) {
        EXPECT_TRUE(Present(tool.outputs[j].label)) << tool.outputs[j].name;
        EXPECT_TRUE(tool.outputs[j].formula != nullptr && tool.outputs[j].formula[0] != 0) << tool.outputs[j].name;
    }
    for (int32_t r = 0; r < tool.ruleCount; ++r) {
        EXPECT_TRUE(Present(tool.rules[r].text)) << "rule " << r + 1;
        ASSERT_NE(tool.rules[r].condition, nullptr) << "rule " << r + 1;
        // The empty condition fires always, so a rule after it never would.
        EXPECT_EQ(tool.rules[r].condition[0] == 0, r == tool.ruleCount - 1) << "rule " << r + 1;
    }
    if (tool.customReport != 0) {
        // Never evaluated for a custom report, so any here would mislead a reader of the record.
        EXPECT_EQ(tool.outputCount, 0);
        EXPECT_EQ(tool.ruleCount, 0);
    } else {
        EXPECT_GT(tool.outputCount, 0);
        EXPECT_GT(tool.ruleCount, 0) << "a formula tool ends with its default rule";
    }
}

TEST_P(EveryTool, EveryFormulaAndConditionEvaluatesAtTheDefaults) {
    // Unknown names fail (both branches of a conditional are read), so this also finds names of other tools.
    const std::vector<double> inputs = Defaults(tool);
    double outputs[MaxOutputs] = {};
    for (int32_t j = 0; j < tool.outputCount; ++j) {
        int32_t error = -1;
        outputs[j] = EvaluateExpression(tool, tool.outputs[j].formula, inputs.data(), outputs, error);
        EXPECT_EQ(error, 0) << "formula of " << tool.outputs[j].name << ": " << tool.outputs[j].formula;
    }
    for (int32_t r = 0; r + 1 < tool.ruleCount; ++r) {
        int32_t error = -1;
        EvaluateExpression(tool, tool.rules[r].condition, inputs.data(), outputs, error);
        EXPECT_EQ(error, 0) << "condition of rule " << r + 1 << ": " << tool.rules[r].condition;
    }
}

TEST_P(EveryTool, EveryCheckNamesItsInputAloneAndPassesTheDefault) {
    for (int32_t i = 0; i < tool.inputCount; ++i) {
        const InputField& input = tool.inputs[i];
        if (input.check == nullptr) continue;
        // Evaluated in a tool holding only this input, so a name of any other input fails.
        const Tool alone = {tool.id, tool.title, nullptr, tool.category, tool.reference, nullptr, 1, &input, 0, nullptr,
                            0,       nullptr,    0};
        auto accepts = [&](double value) {
            const double values[MaxInputs] = {value};
            int32_t error = -1;
            const double truth = EvaluateExpression(alone, input.check, values, nullptr, error);
            EXPECT_EQ(error, 0) << input.name << ": " << input.check << " at " << value;
            return error == 0 && truth != 0.0;
        };
        EXPECT_TRUE(accepts(input.defaultValue))
            << input.name << " = " << input.defaultValue << " fails " << input.check;
        EXPECT_FALSE(accepts(1e9) && accepts(-1e9)) << input.name << ": " << input.check << " refuses nothing";
    }
}

TEST_P(EveryTool, CarriesEveryInputItsBuilderReadsAndNoOther) {
    if (tool.customReport == 0) return;  // no builder runs for a formula tool
    const std::vector<double> inputs = Defaults(tool);
    char16_t report[8192], verdict[512];
    testing::TakeInputReads();
    BuildCustomReport(tool.customReport, tool, inputs.data(), report, 8192, verdict, 512);
    const std::set<std::string> reads = testing::TakeInputReads();
    std::set<std::string> carried;
    for (int32_t i = 0; i < tool.inputCount; ++i) carried.insert(tool.inputs[i].name);
    for (const std::string& name : reads)
        EXPECT_TRUE(carried.count(name)) << "report " << tool.customReport << " reads " << name << ", which tool "
                                         << tool.id << " lacks";
    for (const std::string& name : carried)
        EXPECT_TRUE(reads.count(name)) << "report " << tool.customReport << " never reads " << name;
}

INSTANTIATE_TEST_SUITE_P(Catalogue, EveryTool, ::testing::ValuesIn(AllTools(), AllTools() + ToolCount()), ToolName);

// The build names programs, packages and Windows files from its own table of the family; it must say what the
// records say.
TEST(Catalogue, MatchesTheBuildsTableRowForRow) {
    struct Row {
        int32_t id;
        const char16_t* title;
        const char16_t* subtitle;
    };
    static const Row table[] = {
#include "tool_table.inc"
    };
    ASSERT_EQ(ToolCount(), static_cast<int32_t>(std::size(table)));
    for (int32_t t = 0; t < ToolCount(); ++t) {
        const Tool& tool = *AllTools()[t];
        EXPECT_EQ(tool.id, table[t].id);
        EXPECT_EQ(Utf8(tool.title), Utf8(table[t].title)) << tool.id;
        EXPECT_EQ(Utf8(tool.subtitle), Utf8(table[t].subtitle)) << tool.id;
    }
}

TEST(Catalogue, EachCustomReportHasOneTool) {
    int32_t tools[12] = {};
    for (int32_t t = 0; t < ToolCount(); ++t) {
        const int32_t number = AllTools()[t]->customReport;
        if (number >= 1 && number <= 11) ++tools[number];
    }
    for (int32_t number = 1; number <= 11; ++number) EXPECT_EQ(tools[number], 1) << "report " << number;
}

TEST(Catalogue, Abcd2GivesWeaknessTwoPoints) {
    // The published score, not the code the first draft of the label gave.
    EXPECT_EQ(Utf8(tool146.inputs[3].label), "症状(2单侧无力/1言语/0其他)");
}

}  // namespace
}  // namespace ovra
