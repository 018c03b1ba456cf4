#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/reports/report_harness.h"

namespace ovra::testing {
namespace {

const char* const precipitateLine = "结论：禁忌配伍。头孢曲松与含钙注射液可形成不溶性沉淀；钙剂与碳酸氢钠亦不宜同瓶。";
const char* const vancomycinLine = "结论：不宜同瓶。万古霉素与碱性药物/奥美拉唑配伍稳定性差，应分开输注并冲管。";
const char* const alkalineLine = "结论：不宜同瓶。呋塞米与多巴胺、氨溴索与碱性液混合易发生理化变化。";
const char* const phLine = "结论：奥美拉唑与维生素C 同瓶 pH 冲突，稳定性下降，建议分开。";
const char* const noneLine = "结论：本工具库内未收录该组合的明确禁忌，但仍须查本院配伍表并现配现用、注意冲管。";

struct PairCase {
    double a;
    double b;
    const char* conclusion;
    const char* verdict;
    int32_t level;
};

const PairCase pairCases[] = {
    {1, 2, precipitateLine, "禁忌：不可同瓶输注，需间隔冲管", 3},
    {2, 9, precipitateLine, "禁忌：不可同瓶输注，需间隔冲管", 3},
    {3, 6, vancomycinLine, "不宜同瓶，分开输注并冲管", 2},
    {3, 9, vancomycinLine, "不宜同瓶，分开输注并冲管", 2},
    {4, 10, alkalineLine, "不宜同瓶，建议分开输注", 2},
    {5, 9, alkalineLine, "不宜同瓶，建议分开输注", 2},
    {6, 7, phLine, "建议分开输注", 1},
    {9.7, 2, precipitateLine, "禁忌：不可同瓶输注，需间隔冲管", 3},
    {1, 1, noneLine, "未收录明确禁忌，仍需核对院内配伍表", 0},
    {8, 2, noneLine, "未收录明确禁忌，仍需核对院内配伍表", 0},
    {8, 9, noneLine, "未收录明确禁忌，仍需核对院内配伍表", 0},
    {1, 9, noneLine, "未收录明确禁忌，仍需核对院内配伍表", 0},
    {4, 9, noneLine, "未收录明确禁忌，仍需核对院内配伍表", 0},
    {0, 2, noneLine, "未收录明确禁忌，仍需核对院内配伍表", 0},
    {11, 2, noneLine, "未收录明确禁忌，仍需核对院内配伍表", 0},
    {-1, 2, noneLine, "未收录明确禁忌，仍需核对院内配伍表", 0},
    {12, 2, noneLine, "未收录明确禁忌，仍需核对院内配伍表", 0},
};

TEST(DrugCompatibility, EveryPairRuleHoldsInBothOrders) {
    for (const PairCase& c : pairCases) {
        for (const bool swapped : {false, true}) {
            const double a = swapped ? c.b : c.a;
            const double b = swapped ? c.a : c.b;
            const ReportResult result = Evaluate(6, {{"drugA", a}, {"drugB", b}});
            ASSERT_EQ(result.lines.size(), 6u) << a << " + " << b;
            EXPECT_EQ(result.lines[5], c.conclusion) << a << " + " << b;
            EXPECT_EQ(result.verdict, c.verdict) << a << " + " << b;
            EXPECT_EQ(result.level, c.level) << a << " + " << b;
        }
    }
}

TEST(DrugCompatibility, WritesThePairAsEnteredAndTheNumberedList) {
    const ReportResult result = Evaluate(6, {{"drugA", 2}, {"drugB", 1}});
    EXPECT_EQ(result.report, Joined({"待查：2 号 葡萄糖酸钙  +  1 号 头孢曲松", "",
                                     "编号：1头孢曲松 2葡萄糖酸钙 3万古霉素 4呋塞米 5氨溴索",
                                     "      6奥美拉唑 7维生素C 8胰岛素 9碳酸氢钠 10多巴胺", "", precipitateLine}));
}

TEST(DrugCompatibility, ThePairLineShowsNumbersAsEnteredAndOutsidersWithTheFirstName) {
    const struct {
        bool hasA;
        double a;
        double b;
        const char* pairLine;
    } cases[] = {
        {false, 0, 2, "待查：0 号 头孢曲松  +  2 号 葡萄糖酸钙"},
        {true, 11, 2, "待查：11 号 头孢曲松  +  2 号 葡萄糖酸钙"},
        {true, -3.5, 10, "待查：-3 号 头孢曲松  +  10 号 多巴胺"},
        {true, 1e10, 7, "待查：-2147483648 号 头孢曲松  +  7 号 维生素C"},
        {true, 5, 8, "待查：5 号 氨溴索  +  8 号 胰岛素"},
        {true, 3, 4, "待查：3 号 万古霉素  +  4 号 呋塞米"},
    };
    for (const auto& c : cases) {
        const ReportResult result =
            c.hasA ? Evaluate(6, {{"drugA", c.a}, {"drugB", c.b}}) : Evaluate(6, {{"drugB", c.b}});
        ASSERT_FALSE(result.lines.empty());
        EXPECT_EQ(result.lines[0], c.pairLine);
        EXPECT_EQ(result.level, 0);
    }
}

}  // namespace
}  // namespace ovra::testing
