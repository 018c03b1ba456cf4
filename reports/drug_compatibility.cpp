// Whether two of ten numbered infusion drugs may share one bottle.
#include "reports/append_line.h"
#include "reports/builders.h"
#include "reports/reports.h"
#include "text/text.h"

namespace ovra {
namespace {

static const char16_t* const compatibilityDrugs[] = {
    u"头孢曲松", u"葡萄糖酸钙", u"万古霉素", u"呋塞米",   u"氨溴索",
    u"奥美拉唑", u"维生素C",    u"胰岛素",   u"碳酸氢钠", u"多巴胺",
};

struct Conclusion {
    const char16_t* line;
    const char16_t* verdict;
    int32_t level;
};

static const Conclusion precipitate = {
    u"结论：禁忌配伍。头孢曲松与含钙注射液可形成不溶性沉淀；钙剂与碳酸氢钠亦不宜同瓶。",
    u"禁忌：不可同瓶输注，需间隔冲管", 3};
static const Conclusion vancomycinUnstable = {
    u"结论：不宜同瓶。万古霉素与碱性药物/奥美拉唑配伍稳定性差，应分开输注并冲管。", u"不宜同瓶，分开输注并冲管", 2};
static const Conclusion alkalineChange = {u"结论：不宜同瓶。呋塞米与多巴胺、氨溴索与碱性液混合易发生理化变化。",
                                          u"不宜同瓶，建议分开输注", 2};
static const Conclusion phClash = {u"结论：奥美拉唑与维生素C 同瓶 pH 冲突，稳定性下降，建议分开。", u"建议分开输注", 1};
static const Conclusion nothingRecorded = {
    u"结论：本工具库内未收录该组合的明确禁忌，但仍须查本院配伍表并现配现用、注意冲管。",
    u"未收录明确禁忌，仍需核对院内配伍表", 0};

// A pair is keyed by its smaller and larger drug number, so the order of entry does not matter.
struct PairRule {
    int32_t lo;
    int32_t hi;
    const Conclusion* conclusion;
};

static const PairRule pairRules[] = {
    {1, 2, &precipitate},
    {2, 9, &precipitate},
    {3, 6, &vancomycinUnstable},
    {3, 9, &vancomycinUnstable},
    {4, 10, &alkalineChange},
    {5, 9, &alkalineChange},
    {6, 7, &phClash},
};

// Numbers outside the list show the first drug's name, as entered numbers are printed unchanged.
const char16_t* DrugName(int32_t number) {
    return number >= 1 && number <= 10 ? compatibilityDrugs[number - 1] : compatibilityDrugs[0];
}

const Conclusion& ConcludePair(int32_t a, int32_t b) {
    const int32_t lo = a < b ? a : b;
    const int32_t hi = a < b ? b : a;
    for (const PairRule& rule : pairRules) {
        if (rule.lo == lo && rule.hi == hi) return *rule.conclusion;
    }
    return nothingRecorded;
}

}  // namespace

int32_t BuildDrugCompatibility(const Tool& tool, const double* inputValues, char16_t* report, int32_t reportCapacity,
                               char16_t* verdict, int32_t verdictCapacity) {
    const int32_t a = ToSelector(InputValueByName(tool, inputValues, "drugA"));
    const int32_t b = ToSelector(InputValueByName(tool, inputValues, "drugB"));
    AppendLine(report, reportCapacity, u"待查：%d 号 %ls  +  %d 号 %ls", a, DrugName(a), b, DrugName(b));
    AppendFixedLine(report, reportCapacity, u"");
    AppendFixedLine(report, reportCapacity, u"编号：1头孢曲松 2葡萄糖酸钙 3万古霉素 4呋塞米 5氨溴索");
    AppendFixedLine(report, reportCapacity, u"      6奥美拉唑 7维生素C 8胰岛素 9碳酸氢钠 10多巴胺");
    AppendFixedLine(report, reportCapacity, u"");
    const Conclusion& conclusion = ConcludePair(a, b);
    AppendFixedLine(report, reportCapacity, conclusion.line);
    CopyText(verdict, verdictCapacity, conclusion.verdict);
    return conclusion.level;
}

}  // namespace ovra
