#include "ui/window_layout.h"

#include <cmath>

#include "text/text.h"

namespace ovra {

namespace {

#ifdef _WIN32
// Windows 7 has no YaHei UI (Windows 8 brought it) but has YaHei; SimSun is on every Chinese Windows. Consolas
// has no Chinese, so the same faces stand behind it.
const char16_t* const TextFaces[] = {u"Microsoft YaHei UI", u"Microsoft YaHei", u"SimSun", nullptr};
const char16_t* const MonoFaces[] = {u"Consolas", u"Microsoft YaHei UI", u"Microsoft YaHei", u"SimSun", nullptr};
#else
// As on Windows where the faces are installed; the CJK face last, so Chinese in a report still renders where
// the monospace face has no such glyphs.
const char16_t* const TextFaces[] = {u"Microsoft YaHei UI", u"Microsoft YaHei", u"Noto Sans CJK SC", nullptr};
const char16_t* const MonoFaces[] = {u"Consolas", u"DejaVu Sans Mono", u"Noto Sans CJK SC", nullptr};
#endif

constexpr Box LeftPanel = {20, 96, 440, 552};
constexpr Box RightPanel = {476, 96, 524, 552};
constexpr Box InputCaption = {36, 104, 300, 30};
constexpr Box ResultCaption = {492, 104, 300, 30};
constexpr int32_t ButtonTop = 668;
constexpr int32_t ButtonHeight = 40;

const ButtonScheme PrimaryScheme = {Colours.primaryFace, Colours.primaryPressedFace, Colours.primaryEdge,
                                    Colours.primaryCaption, Colours.focusMarkOnPrimary};
const ButtonScheme LightScheme = {Colours.lightFace, Colours.lightPressedFace, Colours.lightEdge,
                                  Colours.lightCaption, Colours.focusMark};

}  // namespace

const FontRow FontRows[FontRoleCount] = {
    {27, true, TextFaces},   // title
    {14, false, TextFaces},  // caption
    {14, false, TextFaces},  // label
    {15, false, TextFaces},  // field
    {21, true, TextFaces},   // verdict
    {15, false, MonoFaces},  // report
    {15, false, TextFaces},  // button
    {12, false, TextFaces},  // small
};

const FillRow FillRows[] = {
    {{0, 0, FullWidth, ClientHeight}, Colours.windowBackground},
    {{0, 0, FullWidth, 88}, Colours.headerBand},
    {{0, 0, 8, 88}, Colours.accentStrip},
    {LeftPanel, Colours.panel},
    {RightPanel, Colours.panel},
    {{36, 133, 408, 1}, Colours.captionRule},   // under the input caption
    {{492, 133, 492, 1}, Colours.captionRule},  // under the result caption
    {{0, 660, FullWidth, 60}, Colours.buttonBar},
};
const int32_t FillRowCount = sizeof FillRows / sizeof FillRows[0];

const FillRow OutlineRows[] = {
    {LeftPanel, Colours.panelOutline},
    {RightPanel, Colours.panelOutline},
};
const int32_t OutlineRowCount = sizeof OutlineRows / sizeof OutlineRows[0];

const TextRow TextRows[] = {
    {{26, 12, 700, 38}, PaintedText::Title, FontRole::Title, Colours.titleText, TextAlign::Left},
    {{28, 48, 720, 28}, PaintedText::SubLine, FontRole::Caption, Colours.subLineText, TextAlign::Left},
    {{-240, 8, 214, 26}, PaintedText::WebAddress, FontRole::Small, Colours.webAddressText, TextAlign::Right},
    {InputCaption, PaintedText::InputCaption, FontRole::Caption, Colours.captionText, TextAlign::Left},
    {ResultCaption, PaintedText::ResultCaption, FontRole::Caption, Colours.captionText, TextAlign::Left},
};
const int32_t TextRowCount = sizeof TextRows / sizeof TextRows[0];

const ResultRow ResultRows[ResultControlCount] = {
    {ResultControl::Verdict, {492, 142, 492, 46}, FontRole::Verdict, Colours.verdictNoResult, Colours.panel,
     TextAlign::Left, false, false},
    {ResultControl::Report, {492, 196, 492, 232}, FontRole::Report, Colours.bodyText, Colours.panel,
     TextAlign::Left, false, true},
    {ResultControl::Advice, {492, 444, 492, 120}, FontRole::Small, Colours.bodyText, Colours.panel,
     TextAlign::Left, false, true},
    {ResultControl::Reference, {492, 576, 492, 56}, FontRole::Small, Colours.labelText, Colours.panel,
     TextAlign::Left, false, true},
    // A control rather than paint, so that it is read out; it stands on the button bar.
    {ResultControl::Status, {740, 704, 264, 16}, FontRole::Small, Colours.statusText, Colours.buttonBar,
     TextAlign::Right, true, false},
};

const ButtonRow ButtonRows[WindowButtonCount] = {
    {WindowButton::Calculate, {20, ButtonTop, 152, ButtonHeight}, u"计算 (F5)", u"F5", true},
    {WindowButton::Save, {184, ButtonTop, 132, ButtonHeight}, u"保存记录", u"Ctrl+S", false},
    {WindowButton::Copy, {328, ButtonTop, 132, ButtonHeight}, u"复制结果", u"Ctrl+Shift+C", false},
    // Reset has no key of its own: it throws away what was typed.
    {WindowButton::Reset, {472, ButtonTop, 132, ButtonHeight}, u"清空重填", u"", false},
    {WindowButton::About, {616, ButtonTop, 110, ButtonHeight}, u"关于", u"F1", false},
};

int32_t ScaleLength(int32_t length, double factor) {
    return static_cast<int32_t>(std::lround(length * factor));
}

Edges ScaleBox(const Box& box, double factor, int32_t clientWidth) {
    const int32_t left = box.x < 0 ? clientWidth - ScaleLength(-box.x, factor) : ScaleLength(box.x, factor);
    const int32_t right = box.w == FullWidth ? clientWidth
                          : box.x < 0        ? clientWidth - ScaleLength(-box.x - box.w, factor)
                                             : ScaleLength(box.x + box.w, factor);
    return Edges{left, ScaleLength(box.y, factor), right, ScaleLength(box.y + box.h, factor)};
}

const FontRow& FontOf(FontRole role) {
    const auto index = static_cast<int32_t>(role);
    return FontRows[index >= 0 && index < FontRoleCount ? index : 0];
}

void PaintedTextOf(PaintedText which, const Tool& tool, char16_t* out, int32_t capacity) {
    switch (which) {
        case PaintedText::Title:
            CopyText(out, capacity, tool.title);
            return;
        case PaintedText::SubLine:
            SubLineText(tool, out, capacity);
            return;
        case PaintedText::WebAddress:
            CopyText(out, capacity, WebAddress);
            return;
        case PaintedText::InputCaption:
            CopyText(out, capacity, u"输入参数");
            return;
        case PaintedText::ResultCaption:
            CopyText(out, capacity, ReportBoxName);
            return;
    }
    CopyText(out, capacity, u"");
}

Box FieldBox(int32_t row) { return {216, InputRowTop + InputRowStep * row - 4, 152, 27}; }
Box UnitBox(int32_t row) { return {374, InputRowTop + InputRowStep * row, 78, 22}; }

Box LabelBoxOf(const LabelLayout& layout, int32_t row) {
    const int32_t rowTop = InputRowTop + InputRowStep * row;
    // Two lines of the small font need 35 pixels: more than a row, less than the gap between the fields above
    // and below, and centred on this row's field.
    if (layout.breakAt > 0) return {24, rowTop - 9, LabelBoxWidth, 36};
    return {24, rowTop + 1, LabelBoxWidth, 22};
}

LabelAlignment LabelAlignmentOf(const LabelLayout& layout) {
    return {layout.fits ? TextAlign::Right : TextAlign::Left, layout.smallFont, !layout.fits};
}

const ResultRow& ResultRowOf(ResultControl control) {
    const auto index = static_cast<int32_t>(control);
    return ResultRows[index >= 0 && index < ResultControlCount ? index : 0];
}

const Box& ResultCaptionBox() { return ResultCaption; }

const ButtonRow& ButtonRowOf(WindowButton button) {
    const auto index = static_cast<int32_t>(button);
    return ButtonRows[index >= 0 && index < WindowButtonCount ? index : 0];
}

const ButtonScheme& ButtonSchemeOf(const ButtonRow& row) { return row.primary ? PrimaryScheme : LightScheme; }

FocusMark FocusMarkAt(double factor) {
    const int32_t width = ScaleLength(2, factor);
    const int32_t gap = ScaleLength(1, factor);
    return {gap < 1 ? 1 : gap, width < 2 ? 2 : width};
}

}  // namespace ovra
