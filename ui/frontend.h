#pragma once
// The front-end state and the five commands, shared by every shell. A shell reads its widgets, calls a
// command and applies the returned Outcome; nothing here knows about windows.
#include <cstdint>

#include "tool/tool.h"
#include "records/append_record.h"

namespace ovra {

// The report box holds the longest report of the family (40 nurses over 31 days: 6,390 units) whole, and so do
// the last result, the copy text and the clipboard: nothing is cut between the report and the clipboard.
constexpr int32_t ReportCapacity = 8192;
constexpr int32_t LastReportCapacity = ReportCapacity;
constexpr int32_t VerdictCapacity = 512;
constexpr int32_t CopyTextCapacity = ReportCapacity + VerdictCapacity + 4;  // the report, "—— ", the verdict
constexpr int32_t StatusTextCapacity = 256;
constexpr int32_t NoticeCapacity = 1400;
constexpr int32_t ClipboardCapacity = CopyTextCapacity + 512;  // a title and CR LF before the copy text
// The end of the report box kept for the line that says a report was cut.
constexpr int32_t CutLineCapacity = 32;
constexpr int32_t LineTextCapacity = 512;  // reference line, header sub-line, default field texts

struct FrontEnd {
    const Tool* tool;
    int32_t lastLevel;
    char16_t lastReport[LastReportCapacity];  // empty: no result yet, Copy and Save refuse
    char16_t copyText[CopyTextCapacity];
    char16_t statusText[StatusTextCapacity];
    double inputValues[MaxInputs];
    SavedRecords saved;  // what this window saved, to notice a log replaced behind its back
};

enum class NoticeIcon { None, Information, Warning };
// A command leaves the focus where it was, or puts it on a refused field; never on the bare window.
enum class FocusTarget { Unchanged, Field };
// The news of a command: the new verdict after a calculation, the status line after a save, a copy or a
// reset that was attempted; nothing after a refusal or About.
enum class Announcement { None, Verdict, Status };

struct Outcome {
    NoticeIcon noticeIcon;  // None: no message box
    const char16_t* noticeCaption;
    char16_t noticeText[NoticeCapacity];
    bool showResult;  // put `report` into the report box and `verdict` into the verdict line
    char16_t report[ReportCapacity];
    char16_t verdict[VerdictCapacity];
    bool restoreFields;  // every field back to DefaultFieldText
    bool setClipboard;
    char16_t clipboard[ClipboardCapacity];
    FocusTarget focus;
    int32_t focusField;
    // What a screen reader is told after the command, besides a notice box, which speaks for itself.
    Announcement announce;
};

extern const char16_t* const InitialVerdictText;
extern const char16_t* const WebAddress;
extern const char16_t* const ReportBoxName;  // the report box's accessible name: "计算结果"

void StartFrontEnd(FrontEnd& state, const Tool& tool);

// Texts the window shows from the tool itself.
void DefaultFieldText(const InputField& input, char16_t* out, int32_t capacity);
void SubLineText(const Tool& tool, char16_t* out, int32_t capacity);
void ReferenceLineText(const Tool& tool, char16_t* out, int32_t capacity);
uint32_t VerdictColourFromLevel(int32_t level);  // 0xRRGGBB
// The verdict line's colour now: neutral while there is no result (the start prompt, after Reset), else by level.
uint32_t VerdictColour(const FrontEnd& state);
// A field's accessible name is its input's label as written (no layout line break); its description is the
// unit and what the field accepts: "岁；0 至 130 之间的数", or either alone.
void FieldAccessibleDescription(const InputField& input, char16_t* out, int32_t capacity);

// How an input label fits its box: whole in the label font; else whole in the small font; else in the small
// font on two lines, broken before its first parenthesis when both parts fit; else, in a coded list
// ("1血常规 2凝血 …"), before the last space ahead of a code that leaves a first line that fits, so no code is
// parted from its meaning; else after as much as fits.
struct LabelLayout {
    bool smallFont;
    int32_t breakAt;  // 0: one line; else the unit that starts the second line
    bool fits;        // false: some line is still wider than the box
};
// The shell's width of `length` units of `text` in pixels, rounded up, in the label or the small font.
using LabelWidth = int32_t (*)(const void* shell, const char16_t* text, int32_t length, bool smallFont);
LabelLayout LayOutLabel(const char16_t* label, int32_t boxWidth, LabelWidth width, const void* shell);

// A report built into the first `builtCapacity` units of `report` (of `capacity`, at least CutLineCapacity more)
// that filled them lost whatever did not fit: a line after it then says so. True when it did.
bool MarkCutReport(char16_t* report, int32_t builtCapacity, int32_t capacity);

// `fieldTexts` holds one text per input of the tool, in input order.
void Calculate(FrontEnd& state, const char16_t* const* fieldTexts, Outcome& outcome);
// Asks for `clipboard` on the clipboard (`setClipboard`); the shell then says whether it got there through
// FinishCopy, which alone tells the user.
void CopyResult(FrontEnd& state, Outcome& outcome);
void FinishCopy(FrontEnd& state, bool clipboardSet, Outcome& outcome);
void ResetInputs(FrontEnd& state, Outcome& outcome);
void ShowAbout(const FrontEnd& state, Outcome& outcome);
// `recordsFolder` is null or empty when the platform could not name one.
void SaveRecord(FrontEnd& state, const LocalTime& now, const char16_t* recordsFolder, Outcome& outcome);

}  // namespace ovra
