// The reference builders: fixed lines around at most one row chosen by a selector input.
#include "reports/append_line.h"
#include "reports/builders.h"
#include "reports/reports.h"
#include "text/text.h"

namespace ovra {

struct ChoiceRow {
    int32_t selector;
    const char16_t* lines[4];  // ends with nullptr
};

// Lines before the chosen row, the rows (the last one is the default and its selector is never compared),
// lines after the row, and the verdict.
struct ReferenceList {
    const char* selectorName;
    Lines head;
    const ChoiceRow* rows;
    int32_t rowCount;
    Lines tail;
    const char16_t* verdict;
};

namespace {

const ChoiceRow* ChooseRow(const ChoiceRow* rows, int32_t rowCount, int32_t selector) {
    for (int32_t i = 0; i + 1 < rowCount; ++i) {
        if (rows[i].selector == selector) return &rows[i];
    }
    return &rows[rowCount - 1];
}

template <int32_t N>
constexpr int32_t CountOf(const ChoiceRow (&)[N]) {
    return N;
}

static const char16_t* const bloodHead[] = {
    u"标准采血顺序（按添加剂，避免交叉污染）：",
    u"1 血培养瓶（需氧/厌氧）",
    u"2 凝血管 淡蓝（枸橼酸钠，凝血 PT/APTT）",
    u"3 促凝/血清管 红或金黄（生化、免疫）",
    u"4 肝素管 绿（血气、部分生化）",
    u"5 EDTA 紫（血常规、糖化、血型）",
    u"6 氟化钠 灰（血糖、乳酸）",
    u"",
    nullptr,
};
static const ChoiceRow bloodRows[] = {
    {1, {u"本次：血常规 → 紫管 EDTA，采血后 8 次颠倒混匀，2 小时内送检。"}},
    {2, {u"本次：凝血 → 淡蓝管，需采满刻度线（约 2.0ml），采血后立即轻柔颠倒 3-4 次。"}},
    {3, {u"本次：生化 → 红/金黄管，避免溶血，采血后静置 30 分钟离心。"}},
    {4, {u"本次：血气 → 肝素化注射器，排气后立即送检，15 分钟内完成。"}},
    {5, {u"本次：血培养 → 需氧+厌氧各 1 套，采血 2 套不同部位，先注入培养瓶。"}},
    {6, {u"本次：血糖/乳酸 → 灰管，需冰浴送检，30 分钟内完成。"}},
    {0, {u"本次：其他项目，请按检验科项目手册执行。"}},
};

static const char16_t* const criticalHead[] = {u"常见检验危急值（参考，需以本院文件为准）：", nullptr};
static const ChoiceRow criticalRows[] = {
    {1, {u"血钾 <2.5 或 >6.5 mmol/L", u"血钠 <120 或 >160 mmol/L", u"血钙 <1.5 或 >3.5 mmol/L"}},
    {2, {u"血糖 <2.8 或 >22.2 mmol/L", u"pH <7.20 或 >7.60；PaO2 <45 mmHg；PaCO2 >70 mmHg"}},
    {3, {u"白细胞 <1.0 或 >30.0 ×10^9/L", u"血红蛋白 <50 g/L；血小板 <20 或 >1000 ×10^9/L"}},
    {4, {u"INR >4.0；纤维蛋白原 <1.0 g/L", u"D-二聚体显著升高并伴临床血栓表现"}},
    {5, {u"血培养阳性（无菌部位）", u"脑脊液培养阳性；HIV 初筛阳性需确认"}},
    {6, {u"肌钙蛋白明显升高（高于第 99 百分位）", u"血淀粉酶/脂肪酶 >3 倍正常上限"}},
    {0, {u"请查阅本院《危急值报告目录》"}},
};
static const char16_t* const criticalTail[] = {
    u"",
    u"处置要求：核实标本→15 分钟内电话报告临床→记录报告与接听人→医师 30 分钟内处理并记录。",
    nullptr,
};

static const char16_t* const highAlertHead[] = {u"高警示药品类别与要点：", nullptr};
static const ChoiceRow highAlertRows[] = {
    {1,
     {u"高浓度电解质：10% 氯化钾、10% 氯化钠、25% 硫酸镁",
      u"要点：专用标识、专区存放、双人核对、禁止直接静脉推注（钾）。"}},
    {2,
     {u"胰岛素与口服降糖药：胰岛素、格列本脲", u"要点：独立存放、专用注射器、剂量双人核对、低血糖监测与急救糖备用。"}},
    {3,
     {u"抗凝与化疗药：肝素、华法林、低分子肝素、化疗药物",
      u"要点：化疗药集中配置与防护、抗凝药监测 INR/APTT、出血风险宣教。"}},
    {0,
     {u"麻醉与肌松药：丙泊酚、维库溴铵、琥珀胆碱、阿片类",
      u"要点：专柜加锁、基数管理、使用后登记、拮抗剂（纳洛酮/新斯的明）备用。"}},
};

static const char16_t* const checklistLines[] = {
    u"手术安全核查表（三步核查）：",
    u"【麻醉实施前】身份/部位/术式/知情同意；过敏史；气道与插管风险；出血风险；影像与植入物；皮肤准备。",
    u"【手术开始前】团队自我介绍；确认患者、部位、术式；预计手术时间与失血量；抗菌药物已用；器械灭菌合格；影像资料到位"
    u"。",
    u"【患者离室前】手术名称与记录一致；标本标识与送检；器械敷料清点；皮肤与管路；恢复与转运方案。",
    u"",
    u"要求：三方（外科、麻醉、护理）共同口述确认并签字，任一环节缺失不得开台。",
    nullptr,
};

static const ChoiceRow labPanelRows[] = {
    {1,
     {u"血常规（紫管 EDTA）：WBC、RBC、Hb、Hct、PLT、MCV/MCH/MCHC、中性/淋巴/单核/嗜酸/嗜碱比例。",
      u"注意：剧烈运动、情绪、采血时间可影响结果；PLT 聚集需涂片复核。"}},
    {2,
     {u"生化全套（红/金黄管）：肝功（ALT/AST/ALP/GGT/胆红素/白蛋白）、肾功（BUN/Cr/UA）、血糖、血脂、电解质。",
      u"注意：空腹 8-12 小时；溶血标本钾、AST 假性升高。"}},
    {3,
     {u"凝血四项（淡蓝管）：PT、INR、APTT、TT、纤维蛋白原、D-二聚体。",
      u"注意：采血量必须达刻度；肝素治疗中查 APTT。"}},
    {4, {u"甲状腺功能（红/金黄管）：TSH、FT3、FT4、TPOAb、TgAb。", u"注意：空腹；含碘造影剂后 1 周内避免复查。"}},
    {5,
     {u"心肌损伤标志物：cTnI/cTnT、CK-MB、肌红蛋白、BNP/NT-proBNP。",
      u"注意：胸痛发作后 2-4 小时开始升高；动态复查更有意义。"}},
    {0,
     {u"尿常规（清洁中段尿）：尿蛋白、尿糖、尿潜血、白细胞、亚硝酸盐、比重、pH、镜检。",
      u"注意：留取中段尿，1 小时内送检；月经期避免。"}},
};

}  // namespace

int32_t BuildReferenceList(const ReferenceList& list, const Tool& tool, const double* inputValues, char16_t* report,
                           int32_t reportCapacity, char16_t* verdict, int32_t verdictCapacity) {
    AppendLines(report, reportCapacity, list.head);
    if (list.rowCount > 0) {
        const int32_t selector = ToSelector(InputValueByName(tool, inputValues, list.selectorName));
        AppendLines(report, reportCapacity, ChooseRow(list.rows, list.rowCount, selector)->lines);
    }
    AppendLines(report, reportCapacity, list.tail);
    CopyText(verdict, verdictCapacity, list.verdict);
    return 0;
}

const ReferenceList bloodCollectionOrder = {
    "kind", bloodHead, bloodRows, CountOf(bloodRows), nullptr, u"按标准顺序采血可减少溶血与交叉污染",
};

const ReferenceList criticalValues = {
    "kind", criticalHead, criticalRows, CountOf(criticalRows), criticalTail, u"危急值必须闭环：报告、接收、处理、记录",
};

const ReferenceList highAlertDrugs = {
    "kind", highAlertHead, highAlertRows, CountOf(highAlertRows), nullptr, u"高警示药品须专区、专标识、双人核对",
};

const ReferenceList safetyChecklist = {
    nullptr, checklistLines, nullptr, 0, nullptr, u"三方核查缺一不可，签字后归档",
};

const ReferenceList labPanels = {
    "panel", nullptr, labPanelRows, CountOf(labPanelRows), nullptr, u"套餐与采血管已列出，按顺序采血",
};

}  // namespace ovra
