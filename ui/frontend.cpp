#include "ui/frontend.h"

#include "evaluate/evaluate.h"
#include "text/format.h"
#include "text/text.h"
#include "ui/field_reading.h"
#include "ui/window_colours.h"

namespace ovra {

const char16_t* const InitialVerdictText = u"填写左侧参数，点击“计算”";
const char16_t* const WebAddress = u"www.ovramed.example";
const char16_t* const ReportBoxName = u"计算结果";

namespace {

void ClearOutcome(Outcome& outcome) {
    outcome.noticeIcon = NoticeIcon::None;
    outcome.noticeCaption = u"";
    outcome.noticeText[0] = 0;
    outcome.showResult = false;
    outcome.report[0] = 0;
    outcome.verdict[0] = 0;
    outcome.restoreFields = false;
    outcome.setClipboard = false;
    outcome.clipboard[0] = 0;
    outcome.focus = FocusTarget::Unchanged;
    outcome.focusField = 0;
    outcome.announce = Announcement::None;
}

void SetNotice(Outcome& outcome, NoticeIcon icon, const char16_t* caption, const char16_t* text) {
    outcome.noticeIcon = icon;
    outcome.noticeCaption = caption;
    CopyText(outcome.noticeText, NoticeCapacity, text);
}

// The refusal of field `index`: the input's label and what to enter instead; focus on the field.
void RefuseField(Outcome& outcome, const Tool& tool, int32_t index, const char16_t* wanted) {
    char16_t message[256];
    FormatText(message, 256, u"第 %d 项“%ls”请输入%ls。", index + 1, tool.inputs[index].label, wanted);
    SetNotice(outcome, NoticeIcon::Warning, u"输入有误", message);
    outcome.focus = FocusTarget::Field;
    outcome.focusField = index;
}

}  // namespace

void StartFrontEnd(FrontEnd& state, const Tool& tool) {
    state.tool = &tool;
    state.lastLevel = 0;
    state.lastReport[0] = 0;
    state.copyText[0] = 0;
    CopyText(state.statusText, StatusTextCapacity, u"就绪：填写参数后按 F5 或点击“计算”");
    for (int32_t i = 0; i < MaxInputs; ++i)
        state.inputValues[i] = i < tool.inputCount ? tool.inputs[i].defaultValue : 0;
    state.saved = SavedRecords{};
}

void DefaultFieldText(const InputField& input, char16_t* out, int32_t capacity) {
    FormatText(out, capacity, u"%.6g", input.defaultValue);
}

void SubLineText(const Tool& tool, char16_t* out, int32_t capacity) {
    FormatText(out, capacity, u"%ls  ·  %ls", tool.category, tool.subtitle);
}

void ReferenceLineText(const Tool& tool, char16_t* out, int32_t capacity) {
    FormatText(out, capacity, u"参考依据：%ls", tool.reference);
}

uint32_t VerdictColourFromLevel(int32_t level) {
    switch (level) {
        case 1:
            return Colours.verdictLevel1;
        case 2:
            return Colours.verdictLevel2;
        case 3:
            return Colours.verdictLevel3;
        default:
            return Colours.verdictLevel0;
    }
}

uint32_t VerdictColour(const FrontEnd& state) {
    return state.lastReport[0] == 0 ? Colours.verdictNoResult : VerdictColourFromLevel(state.lastLevel);
}

void FieldAccessibleDescription(const InputField& input, char16_t* out, int32_t capacity) {
    const bool unit = input.unit != nullptr && input.unit[0] != 0;
    const bool accepted = input.accepted != nullptr && input.accepted[0] != 0;
    if (unit && accepted)
        FormatText(out, capacity, u"%ls；%ls", input.unit, input.accepted);
    else
        CopyText(out, capacity, unit ? input.unit : accepted ? input.accepted : u"");
}

LabelLayout LayOutLabel(const char16_t* label, int32_t boxWidth, LabelWidth width, const void* shell) {
    const int32_t length = TextLength(label);
    if (width(shell, label, length, false) <= boxWidth) return {false, 0, true};
    if (width(shell, label, length, true) <= boxWidth) return {true, 0, true};
    const auto fits = [&](int32_t from, int32_t to) { return width(shell, label + from, to - from, true) <= boxWidth; };
    int32_t paren = 1;
    while (paren < length && label[paren] != u'(' && label[paren] != u'（') ++paren;
    if (paren < length && fits(0, paren) && fits(paren, length)) return {true, paren, true};
    // A code is a number written straight against its meaning ("5血培养"); "1 10-59" is a code, a space and a
    // range. The second line starts at the space, so the first ends on a whole item.
    const auto isDigit = [](char16_t c) { return c >= u'0' && c <= u'9'; };
    int32_t beforeCode = 0;
    for (int32_t space = 1; space + 1 < length; ++space) {
        if (label[space] != u' ' || !isDigit(label[space + 1])) continue;
        int32_t end = space + 1;
        while (end < length && isDigit(label[end])) ++end;
        if (end < length && label[end] > 0x7F && fits(0, space)) beforeCode = space;
    }
    if (beforeCode > 0 && fits(beforeCode, length)) return {true, beforeCode, true};
    // At least one character on the first line, and never half of a surrogate pair.
    int32_t split = 0;
    for (int32_t end = 1; end < length; ++end) {
        if (label[end] >= 0xDC00 && label[end] <= 0xDFFF) continue;
        if (split > 0 && !fits(0, end)) break;
        split = end;
    }
    if (split == 0) return {true, 0, false};
    return {true, split, fits(0, split) && fits(split, length)};
}

void Calculate(FrontEnd& state, const char16_t* const* fieldTexts, Outcome& outcome) {
    ClearOutcome(outcome);
    const Tool& tool = *state.tool;
    const int32_t count = tool.inputCount < MaxInputs ? tool.inputCount : MaxInputs;
    // Values are committed only when every field reads and passes its check, so a refusal leaves the last
    // result and what Save writes beside it consistent.
    double values[MaxInputs] = {};
    bool blank[MaxInputs] = {};
    for (int32_t i = 0; i < count; ++i) {
        const FieldReading reading = ReadFieldText(fieldTexts[i], values[i]);
        if (reading == FieldReading::NotANumber) {
            RefuseField(outcome, tool, i, u"数字");
            return;
        }
        blank[i] = reading == FieldReading::Blank;
    }
    // A blank field reads 0 only where any number will do: an input with a check wants a deliberate value.
    for (int32_t i = 0; i < count; ++i) {
        const InputField& input = tool.inputs[i];
        if (input.check == nullptr || (!blank[i] && PassesInputCheck(tool, i, values))) continue;
        RefuseField(outcome, tool, i, input.accepted != nullptr ? input.accepted : u"允许范围内的数");
        return;
    }
    for (int32_t i = 0; i < MaxInputs; ++i) state.inputValues[i] = values[i];
    constexpr int32_t built = ReportCapacity - CutLineCapacity;
    EvaluateTool(tool, state.inputValues, outcome.report, built, outcome.verdict, VerdictCapacity, state.lastLevel,
                 state.lastReport, LastReportCapacity);
    const bool cut = MarkCutReport(outcome.report, built, ReportCapacity);
    if (cut) CopyText(state.lastReport, LastReportCapacity, outcome.report);
    outcome.showResult = true;
    outcome.announce = Announcement::Verdict;
    if (tool.customReport != 0)
        CopyText(state.copyText, CopyTextCapacity, outcome.report);
    else
        FormatText(state.copyText, CopyTextCapacity, u"%ls—— %ls", outcome.report, outcome.verdict);
    if (cut)
        FormatText(state.statusText, StatusTextCapacity, u"计算完成  %ls（报告过长，末尾已截去）", tool.title);
    else
        FormatText(state.statusText, StatusTextCapacity, u"计算完成  %ls", tool.title);
}

bool MarkCutReport(char16_t* report, int32_t builtCapacity, int32_t capacity) {
    int32_t length = TextLength(report);
    if (length < builtCapacity - 1) return false;
    // The cut may have parted a surrogate pair or a CR LF; the line that says so stands on a line of its own.
    if (length > 0 && report[length - 1] >= 0xD800 && report[length - 1] <= 0xDBFF) report[--length] = 0;
    if (length > 0 && report[length - 1] == u'\r')
        AppendText(report, capacity, u"\n");
    else if (length > 0 && report[length - 1] != u'\n')
        AppendText(report, capacity, u"\r\n");
    AppendText(report, capacity, u"……（报告过长，此后内容已截去）\r\n");
    return true;
}

void CopyResult(FrontEnd& state, Outcome& outcome) {
    ClearOutcome(outcome);
    if (state.lastReport[0] == 0) {
        SetNotice(outcome, NoticeIcon::Information, u"提示", u"请先点击“计算”生成结果。");
        return;
    }
    outcome.setClipboard = true;
    outcome.announce = Announcement::Status;
    FormatText(outcome.clipboard, ClipboardCapacity, u"%ls\r\n%ls", state.tool->title, state.copyText);
}

void FinishCopy(FrontEnd& state, bool clipboardSet, Outcome& outcome) {
    if (clipboardSet) {
        CopyText(state.statusText, StatusTextCapacity, u"结果已复制到剪贴板");
        return;
    }
    SetNotice(outcome, NoticeIcon::Warning, u"复制失败",
              u"结果未能复制到剪贴板：剪贴板可能正被其他程序占用，请稍后重试。");
    CopyText(state.statusText, StatusTextCapacity, u"复制失败：结果未复制到剪贴板");
}

void ResetInputs(FrontEnd& state, Outcome& outcome) {
    ClearOutcome(outcome);
    outcome.restoreFields = true;
    outcome.showResult = true;
    outcome.announce = Announcement::Status;
    CopyText(outcome.verdict, VerdictCapacity, InitialVerdictText);
    CopyText(state.statusText, StatusTextCapacity, u"已恢复默认值");
    state.lastReport[0] = 0;
    state.lastLevel = 0;
}

void ShowAbout(const FrontEnd& state, Outcome& outcome) {
    ClearOutcome(outcome);
    const Tool& tool = *state.tool;
    outcome.noticeIcon = NoticeIcon::Information;
    outcome.noticeCaption = u"关于本工具";
    FormatText(outcome.noticeText, NoticeCapacity,
               u"%ls\r\n\r\n分类：%ls\r\n参考依据：%ls\r\n\r\n"
               u"本工具为临床辅助计算/记录工具，结果不能替代医师诊疗判断，\r\n"
               u"具体用药与处置请结合患者实际情况及本院规范执行。\r\n\r\n"
               u"版本 V1.0    官网：%ls",
               tool.title, tool.category, tool.reference, WebAddress);
}

namespace {

const char16_t* KindText(EntryKind kind) {
    switch (kind) {
        case EntryKind::Link:
            return u"符号链接";
        case EntryKind::Folder:
            return u"文件夹";
        case EntryKind::Pipe:
            return u"命名管道";
        case EntryKind::Device:
            return u"设备";
        default:
            return u"特殊文件";
    }
}

// Why a save failed, after the log's path: what holds it, or which file beside it is in the way.
void AppendSaveFailure(char16_t* message, SaveError error, const SaveReport& report) {
    char16_t why[NoticeCapacity];
    switch (error) {
        case SaveError::LogBusy:
            AppendText(message, NoticeCapacity, u"\r\n记录文件正被其他程序占用，请关闭该程序后重试。");
            if (report.culprit[0] == 0) return;
            FormatText(why, NoticeCapacity, u"\r\n锁文件：%ls%ls%ls%ls\r\n若该程序已不在运行，删除此锁文件后重试。",
                       report.culprit, report.lockOwner[0] != 0 ? u"（" : u"", report.lockOwner,
                       report.lockOwner[0] != 0 ? u"）" : u"");
            break;
        case SaveError::NotRegular:
            FormatText(why, NoticeCapacity, u"\r\n%ls 不是普通文件（%ls），请将其移走后重试。", report.culprit,
                       KindText(report.culpritKind));
            break;
        case SaveError::JournalUnusable:
            FormatText(why, NoticeCapacity, u"\r\n保存日志 %ls 无法读取或删除，已保留；请检查该文件后重试。",
                       report.culprit);
            break;
        default:
            return;
    }
    AppendText(message, NoticeCapacity, why);
}

}  // namespace

void SaveRecord(FrontEnd& state, const LocalTime& now, const char16_t* recordsFolder, Outcome& outcome) {
    ClearOutcome(outcome);
    if (state.lastReport[0] == 0) {
        SetNotice(outcome, NoticeIcon::Information, u"提示", u"请先点击“计算”生成结果，再保存记录。");
        return;
    }
    outcome.announce = Announcement::Status;
    const Tool& tool = *state.tool;
    const bool folderNamed = recordsFolder != nullptr && recordsFolder[0] != 0;
    SaveReport report{};
    // A path too long for its buffer is refused: cut, it would name another file.
    const bool pathWhole = folderNamed && RecordFilePath(recordsFolder, tool.id, report.path, RecordPathCapacity);
    char16_t line[RecordLineCapacity];
    BuildRecordLine(tool, now, state.inputValues, state.lastReport, line, RecordLineCapacity);
    const SaveError error =
        pathWhole ? AppendRecordLine(recordsFolder, tool, line, report, &state.saved) : SaveError::NotWritten;
    if (error != SaveError::None) {
        char16_t message[NoticeCapacity];
        CopyText(message, NoticeCapacity, u"无法写入记录文件：");
        const int32_t prefix = TextLength(message);
        if (pathWhole)
            AppendText(message, NoticeCapacity, report.path);
        else if (folderNamed)
            RecordFilePath(recordsFolder, tool.id, message + prefix, NoticeCapacity - prefix);
        AppendSaveFailure(message, error, report);
        SetNotice(outcome, NoticeIcon::Warning, u"保存失败", message);
        CopyText(state.statusText, StatusTextCapacity, u"记录保存失败");
        return;
    }
    const char16_t* const saved = u"本次结果已追加保存到本地记录（CSV，可用 Excel 打开）。";
    if (report.restoredCount == 0) {
        FormatText(state.statusText, StatusTextCapacity, u"记录已保存：%ls", report.path);
        SetNotice(outcome, NoticeIcon::Information, u"已保存", saved);
        return;
    }
    // The log was replaced behind this window: the records it lacks are in the restored log, or still only here.
    char16_t message[NoticeCapacity];
    if (report.restoredSaved) {
        FormatText(message, NoticeCapacity, u"%ls\r\n记录文件已被其他程序替换，本窗口此前保存的 %d 条记录不在其中，已另存到：%ls",
                   saved, report.restoredCount, report.restoredPath);
        FormatText(state.statusText, StatusTextCapacity, u"记录已保存；%d 条缺失记录已另存到：%ls", report.restoredCount,
                   report.restoredPath);
    } else {
        FormatText(message, NoticeCapacity,
                   u"%ls\r\n记录文件已被其他程序替换，本窗口此前保存的 %d 条记录不在其中，且未能另存到：%ls\r\n"
                   u"请勿关闭本窗口，处理该文件后再次保存。",
                   saved, report.restoredCount, report.restoredPath);
        FormatText(state.statusText, StatusTextCapacity, u"记录已保存；%d 条缺失记录未能另存", report.restoredCount);
    }
    SetNotice(outcome, NoticeIcon::Warning, u"已保存", message);
}

}  // namespace ovra
