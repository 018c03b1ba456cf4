// Timetables computed from a few counts: the nurse roster, the dosing schedule and the follow-up plan.
#include <cmath>

#include "reports/append_line.h"
#include "reports/builders.h"
#include "reports/reports.h"
#include "reports/today.h"
#include "text/format.h"
#include "text/text.h"
#include "tool/format.h"

namespace ovra {
namespace {

// Day, night, rest. Each day moves two places on, so a nurse runs D, R, N and three nurses cover every shift.
static const char16_t shiftCodes[3] = {u'D', u'N', u'R'};

void AppendLineEnd(char16_t* report, int32_t capacity) { AppendText(report, capacity, u"\r\n"); }

// t is hours from midnight of day 1, never negative.
void FormatDoseTime(double t, char16_t* cell, int32_t capacity) {
    const double day = 1.0 - std::trunc(t / -24.0);
    // Beyond the 32-bit day count (some 5e10 hours) the hours are meaningless too; infinity and NaN land here.
    if (!(day <= 2147483647.0)) {
        CopyText(cell, capacity, u"第--天 --:--");
        return;
    }
    const double hourOfDay = std::fmod(t, 24.0);
    const int32_t hour = static_cast<int32_t>(hourOfDay);
    const int32_t minute = static_cast<int32_t>((hourOfDay - hour) * 60.0);  // cut, not rounded
    FormatText(cell, capacity, u"第%d天 %02d:%02d", static_cast<int32_t>(day), hour, minute);
}

}  // namespace

int32_t BuildNurseRoster(const Tool& tool, const double* inputValues, char16_t* report, int32_t reportCapacity,
                         char16_t* verdict, int32_t verdictCapacity) {
    const int32_t nurses = ClampedSelector(tool, inputValues, "nurses", 1, 40);
    const int32_t days = ClampedSelector(tool, inputValues, "days", 1, 31);
    AppendFixedLine(report, reportCapacity,
                    u"排班规则：三班轮转（白班 D / 夜班 N / 休息 R），每日每班 1 人，按人员顺序滚动。");
    AppendLine(report, reportCapacity, u"人员：%d 人；周期：%d 天", nurses, days);
    AppendFixedLine(report, reportCapacity, u"");
    for (int32_t n = 1; n <= nurses; ++n) {
        char16_t name[12];
        FormatText(name, 12, u"护士%02d", n);
        AppendLine(report, reportCapacity, u"%ls：", name);
        // Gathered first so the report is measured once per line, not once per cell. The line (at most 148
        // units) always fits here, so the bounded append cuts it just as appending cell by cell would.
        char16_t cells[192] = u"  ";
        for (int32_t d = 1; d <= days; ++d) {
            char16_t cell[16];
            FormatText(cell, 16, u"%d日%c ", d, shiftCodes[((n - 1) + 2 * (d - 1)) % 3]);
            AppendText(cells, 192, cell);
        }
        AppendText(report, reportCapacity, cells);
        AppendLineEnd(report, reportCapacity);
    }
    AppendFixedLine(report, reportCapacity, u"");
    AppendFixedLine(report, reportCapacity,
                    u"提示：连续夜班不超过 2 个，夜班后应安排休息；请按科室实际人数与能级调整。");
    CopyText(verdict, verdictCapacity, u"已生成轮转排班表，可复制到排班本或表格");
    return 0;
}

int32_t BuildDosingSchedule(const Tool& tool, const double* inputValues, char16_t* report, int32_t reportCapacity,
                            char16_t* verdict, int32_t verdictCapacity) {
    // Written so that NaN takes the default too.
    const double start = InputValueByName(tool, inputValues, "start");
    const double first = start > 0.0 ? start : 0.0;
    const double interval = InputValueByName(tool, inputValues, "interval");
    const double every = interval > 0.0 ? interval : 8.0;
    const int32_t count = ClampedSelector(tool, inputValues, "times", 1, 30);
    AppendLine(report, reportCapacity, u"首剂时间 %.0f:00，间隔 %.0f 小时，共 %d 次：", first, every, count);
    for (int32_t i = 0; i < count; ++i) {
        char16_t cell[64];
        FormatDoseTime(first + every * i, cell, 64);
        AppendText(report, reportCapacity, cell);
        if (i + 1 < count) AppendText(report, reportCapacity, u"  |  ");
    }
    AppendLineEnd(report, reportCapacity);
    AppendFixedLine(report, reportCapacity, u"说明：按等间隔给药；抗菌药物需结合半衰期与肾肝功能调整。");
    CopyText(verdict, verdictCapacity, u"给药时间表已生成，注意首剂与夜间给药时间");
    return 0;
}

int32_t BuildFollowUpPlan(const Tool& tool, const double* inputValues, char16_t* report, int32_t reportCapacity,
                          char16_t* verdict, int32_t verdictCapacity) {
    const int32_t start = ToSelector(InputValueByName(tool, inputValues, "start"));
    const int32_t givenGap = ToSelector(InputValueByName(tool, inputValues, "gap"));
    const int32_t gap = givenGap < 1 ? 7 : givenGap;
    const int32_t times = ClampedSelector(tool, inputValues, "times", 1, 20);
    const LocalDate today = LocalToday();
    if (!IsKnownDate(today)) {
        // Dates counted from a guessed day would send patients on wrong days; none is better.
        AppendFixedLine(report, reportCapacity,
                        u"随访节点：无法读取本机日期，未列出随访日期；请核对系统日期后重新计算。");
        CopyText(verdict, verdictCapacity, u"日期未知，未生成随访日期");
        return 0;
    }
    const int64_t todayNumber = DaysFromCivil(today.year, today.month, today.day);
    AppendLine(report, reportCapacity, u"随访节点（以今天为基准，起始第 %d 天，间隔 %d 天，共 %d 次）：", start, gap,
               times);
    for (int32_t k = 1; k <= times; ++k) {
        // At most 2^31 + 19 * (2^31 - 1) days from today: far inside 64 bits.
        const int64_t dayNumber = todayNumber + start + static_cast<int64_t>(k - 1) * gap;
        char16_t date[32];
        CivilFromDays(dayNumber, date, 32);
        AppendLine(report, reportCapacity, u"第 %d 次：%ls", k, date);
    }
    AppendFixedLine(report, reportCapacity, u"内容：症状与体征、用药依从性、复查项目、并发症预警、是否需要提前复诊。");
    CopyText(verdict, verdictCapacity, u"随访计划已生成，可按日期短信提醒患者");
    return 0;
}

}  // namespace ovra
