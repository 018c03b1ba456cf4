#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "tests/reports/report_harness.h"

namespace ovra::testing {
namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double absent = -12345.0;  // marks a case whose tool has no selector input at all

struct SelectorCase {
    double selector;
    std::vector<std::string> chosen;
};

ReportResult EvaluateWithSelector(int32_t number, const char* name, double selector) {
    if (selector == absent) return Evaluate(number, {{"other", 1.0}});
    return Evaluate(number, {{"other", 3.0}, {name, selector}});
}

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

void ExpectChosenRows(int32_t number, const char* name, const std::vector<std::string>& head,
                      const std::vector<SelectorCase>& cases, const std::vector<std::string>& tail,
                      const char* verdict) {
    for (const SelectorCase& c : cases) {
        const ReportResult result = EvaluateWithSelector(number, name, c.selector);
        EXPECT_EQ(result.report, Joined(Concat(Concat(head, c.chosen), tail))) << number << " " << c.selector;
        EXPECT_EQ(result.verdict, verdict);
        EXPECT_EQ(result.level, 0);
    }
}

const std::vector<std::string> otherTests = {"本次：其他项目，请按检验科项目手册执行。"};

TEST(BloodCollectionOrder, AddsTheLineOfTheKindAfterTheStandardOrder) {
    ExpectChosenRows(
        3, "kind",
        {"标准采血顺序（按添加剂，避免交叉污染）：", "1 血培养瓶（需氧/厌氧）",
         "2 凝血管 淡蓝（枸橼酸钠，凝血 PT/APTT）", "3 促凝/血清管 红或金黄（生化、免疫）",
         "4 肝素管 绿（血气、部分生化）", "5 EDTA 紫（血常规、糖化、血型）", "6 氟化钠 灰（血糖、乳酸）", ""},
        {
            {1, {"本次：血常规 → 紫管 EDTA，采血后 8 次颠倒混匀，2 小时内送检。"}},
            {2, {"本次：凝血 → 淡蓝管，需采满刻度线（约 2.0ml），采血后立即轻柔颠倒 3-4 次。"}},
            {2.9, {"本次：凝血 → 淡蓝管，需采满刻度线（约 2.0ml），采血后立即轻柔颠倒 3-4 次。"}},
            {3, {"本次：生化 → 红/金黄管，避免溶血，采血后静置 30 分钟离心。"}},
            {4, {"本次：血气 → 肝素化注射器，排气后立即送检，15 分钟内完成。"}},
            {5, {"本次：血培养 → 需氧+厌氧各 1 套，采血 2 套不同部位，先注入培养瓶。"}},
            {6, {"本次：血糖/乳酸 → 灰管，需冰浴送检，30 分钟内完成。"}},
            {0, otherTests},
            {-0.7, otherTests},
            {7, otherTests},
            {-1, otherTests},
            {nan, otherTests},
            {absent, otherTests},
        },
        {}, "按标准顺序采血可减少溶血与交叉污染");
}

const std::vector<std::string> hospitalList = {"请查阅本院《危急值报告目录》"};

TEST(CriticalValues, ListsTheValuesOfTheKindBetweenHeadingAndHandling) {
    ExpectChosenRows(4, "kind", {"常见检验危急值（参考，需以本院文件为准）："},
                     {
                         {1, {"血钾 <2.5 或 >6.5 mmol/L", "血钠 <120 或 >160 mmol/L", "血钙 <1.5 或 >3.5 mmol/L"}},
                         {2, {"血糖 <2.8 或 >22.2 mmol/L", "pH <7.20 或 >7.60；PaO2 <45 mmHg；PaCO2 >70 mmHg"}},
                         {3, {"白细胞 <1.0 或 >30.0 ×10^9/L", "血红蛋白 <50 g/L；血小板 <20 或 >1000 ×10^9/L"}},
                         {4, {"INR >4.0；纤维蛋白原 <1.0 g/L", "D-二聚体显著升高并伴临床血栓表现"}},
                         {5, {"血培养阳性（无菌部位）", "脑脊液培养阳性；HIV 初筛阳性需确认"}},
                         {6, {"肌钙蛋白明显升高（高于第 99 百分位）", "血淀粉酶/脂肪酶 >3 倍正常上限"}},
                         {0, hospitalList},
                         {7, hospitalList},
                         {1e12, hospitalList},
                         {absent, hospitalList},
                     },
                     {"", "处置要求：核实标本→15 分钟内电话报告临床→记录报告与接听人→医师 30 分钟内处理并记录。"},
                     "危急值必须闭环：报告、接收、处理、记录");
}

const std::vector<std::string> anaesthetics = {"麻醉与肌松药：丙泊酚、维库溴铵、琥珀胆碱、阿片类",
                                               "要点：专柜加锁、基数管理、使用后登记、拮抗剂（纳洛酮/新斯的明）备用。"};

TEST(HighAlertDrugs, ShowsTheCategoryAndKeyPointOfTheKind) {
    ExpectChosenRows(5, "kind", {"高警示药品类别与要点："},
                     {
                         {1,
                          {"高浓度电解质：10% 氯化钾、10% 氯化钠、25% 硫酸镁",
                           "要点：专用标识、专区存放、双人核对、禁止直接静脉推注（钾）。"}},
                         {2,
                          {"胰岛素与口服降糖药：胰岛素、格列本脲",
                           "要点：独立存放、专用注射器、剂量双人核对、低血糖监测与急救糖备用。"}},
                         {3,
                          {"抗凝与化疗药：肝素、华法林、低分子肝素、化疗药物",
                           "要点：化疗药集中配置与防护、抗凝药监测 INR/APTT、出血风险宣教。"}},
                         {4, anaesthetics},
                         {0, anaesthetics},
                         {absent, anaesthetics},
                     },
                     {}, "高警示药品须专区、专标识、双人核对");
}

const std::vector<std::string> urinalysis = {
    "尿常规（清洁中段尿）：尿蛋白、尿糖、尿潜血、白细胞、亚硝酸盐、比重、pH、镜检。",
    "注意：留取中段尿，1 小时内送检；月经期避免。"};

TEST(LabPanels, ShowsThePanelAndItsNoteWithoutHeading) {
    ExpectChosenRows(
        11, "panel", {},
        {
            {1,
             {"血常规（紫管 EDTA）：WBC、RBC、Hb、Hct、PLT、MCV/MCH/MCHC、中性/淋巴/单核/嗜酸/嗜碱比例。",
              "注意：剧烈运动、情绪、采血时间可影响结果；PLT 聚集需涂片复核。"}},
            {2,
             {"生化全套（红/金黄管）：肝功（ALT/AST/ALP/GGT/胆红素/白蛋白）、肾功（BUN/Cr/UA）、血糖、血脂、电解质。",
              "注意：空腹 8-12 小时；溶血标本钾、AST 假性升高。"}},
            {3,
             {"凝血四项（淡蓝管）：PT、INR、APTT、TT、纤维蛋白原、D-二聚体。",
              "注意：采血量必须达刻度；肝素治疗中查 APTT。"}},
            {4, {"甲状腺功能（红/金黄管）：TSH、FT3、FT4、TPOAb、TgAb。", "注意：空腹；含碘造影剂后 1 周内避免复查。"}},
            {5,
             {"心肌损伤标志物：cTnI/cTnT、CK-MB、肌红蛋白、BNP/NT-proBNP。",
              "注意：胸痛发作后 2-4 小时开始升高；动态复查更有意义。"}},
            {6, urinalysis},
            {0, urinalysis},
            {absent, urinalysis},
        },
        {}, "套餐与采血管已列出，按顺序采血");
}

TEST(SafetyChecklist, ReadsNoInput) {
    ExpectChosenRows(
        8, "kind",
        {"手术安全核查表（三步核查）：",
         "【麻醉实施前】身份/部位/术式/知情同意；过敏史；气道与插管风险；出血风险；影像与植入物；皮肤准备。",
         "【手术开始前】团队自我介绍；确认患者、部位、术式；预计手术时间与失血量；抗菌药物已用；器械灭菌合格；影像资料"
         "到位。",
         "【患者离室前】手术名称与记录一致；标本标识与送检；器械敷料清点；皮肤与管路；恢复与转运方案。", "",
         "要求：三方（外科、麻醉、护理）共同口述确认并签字，任一环节缺失不得开台。"},
        {{absent, {}}, {1, {}}, {7, {}}}, {}, "三方核查缺一不可，签字后归档");
}

std::string BedLine(const char* number) {
    return std::string(number) +
           " 床：诊断＿＿；体温＿℃ 脉搏＿次/分 呼吸＿次/分 血压＿/＿mmHg SpO2＿%；本班处置＿＿；"
           "管路（静脉/引流/导尿/吸氧）＿＿；下一班关注＿＿。";
}

TEST(HandoverTemplate, WritesOneTwoDigitLinePerBedClampedToOneToThirty) {
    const struct {
        double beds;
        size_t count;
    } cases[] = {{0, 1}, {-3, 1}, {absent, 1}, {1e12, 1}, {nan, 1}, {2.5, 2}, {12, 12}, {30, 30}, {31, 30}, {100, 30}};
    for (const auto& c : cases) {
        const ReportResult result = EvaluateWithSelector(9, "beds", c.beds);
        std::vector<std::string> expected = {"交班报告（床号 / 诊断 / 本班病情 / 治疗与管路 / 需下一班关注）："};
        for (size_t bed = 1; bed <= c.count; ++bed) {
            const char digits[3] = {static_cast<char>('0' + bed / 10), static_cast<char>('0' + bed % 10), 0};
            expected.push_back(BedLine(digits));
        }
        expected.push_back("");
        expected.push_back("危重患者须床旁交接；新入院、手术、输血、病情变化患者逐一交接并双签名。");
        EXPECT_EQ(result.lines, expected) << c.beds;
        EXPECT_EQ(result.verdict, "模板已生成，床旁交接并双方签名");
        EXPECT_EQ(result.level, 0);
    }
}

}  // namespace
}  // namespace ovra::testing
