#include "ui/win32/window_layout.h"

namespace ovra {

// Windows 7 has no "Microsoft YaHei UI" (Windows 8 brought it) but has "Microsoft YaHei"; SimSun is on every
// Chinese Windows. Consolas has no Chinese, so the same faces stand behind it.
const wchar_t* const TextFaces[] = {L"Microsoft YaHei UI", L"Microsoft YaHei", L"SimSun", nullptr};
const wchar_t* const ReportFaces[] = {L"Consolas", L"Microsoft YaHei UI", L"Microsoft YaHei", L"SimSun", nullptr};

const FontRow FontRows[FontCount] = {
    {27, FW_BOLD, TextFaces},      // title
    {14, FW_NORMAL, TextFaces},    // caption
    {14, FW_NORMAL, TextFaces},    // label
    {15, FW_NORMAL, TextFaces},    // field
    {21, FW_BOLD, TextFaces},      // verdict
    {15, FW_NORMAL, ReportFaces},  // report
    {15, FW_NORMAL, TextFaces},    // button
    {12, FW_NORMAL, TextFaces},    // small
};

const ButtonRow ButtonRows[ButtonCount] = {
    {u"计算 (F5)", {20, 668, 152, 40}}, {u"保存记录", {184, 668, 132, 40}}, {u"复制结果", {328, 668, 132, 40}},
    {u"清空重填", {472, 668, 132, 40}}, {u"关于", {616, 668, 110, 40}},
};

Box InputFieldBox(int32_t row) { return {216, InputRowTop + InputRowStep * row - 4, 152, 27}; }
Box UnitLabelBox(int32_t row) { return {374, InputRowTop + InputRowStep * row, 78, 22}; }

// In painting order; later boxes cover earlier ones.
const FillRow FillRows[] = {
    {{0, 0, FullWidth, ClientHeight}, Colours.windowBackground},
    {{0, 0, FullWidth, 88}, Colours.headerBand},
    {{0, 0, 8, 88}, Colours.accentStrip},
    {{20, 96, 440, 552}, Colours.panel},        // left panel
    {{476, 96, 524, 552}, Colours.panel},       // right panel
    {{36, 133, 408, 1}, Colours.captionRule},   // under the input caption
    {{492, 133, 492, 1}, Colours.captionRule},  // under the result caption
    {{0, 660, FullWidth, 60}, Colours.buttonBar},
};
const int FillRowCount = sizeof FillRows / sizeof FillRows[0];

const FillRow OutlineRows[] = {
    {{20, 96, 440, 552}, Colours.panelOutline},
    {{476, 96, 524, 552}, Colours.panelOutline},
};
const int OutlineRowCount = sizeof OutlineRows / sizeof OutlineRows[0];

const TextRow TextRows[] = {
    {{26, 12, 700, 38}, Painted::Title, TitleFont, Colours.titleText, DT_LEFT},
    {{28, 48, 720, 28}, Painted::SubLine, CaptionFont, Colours.subLineText, DT_LEFT},
    {{-240, 8, 214, 26}, Painted::WebAddress, SmallFont, Colours.webAddressText, DT_RIGHT},
    {{36, 104, 300, 30}, Painted::InputCaption, CaptionFont, Colours.captionText, DT_LEFT},
    {ResultCaptionBox, Painted::ResultCaption, CaptionFont, Colours.captionText, DT_LEFT},
};
const int TextRowCount = sizeof TextRows / sizeof TextRows[0];

RECT ScaledRect(const Box& box, UINT dpi, int clientWidth) {
    // Edges are scaled, not sizes, so neighbouring boxes stay flush at any DPI.
    const int left = box.x < 0 ? clientWidth - Scaled(-box.x, dpi) : Scaled(box.x, dpi);
    const int right = box.w == FullWidth ? clientWidth
                      : box.x < 0        ? clientWidth - Scaled(-box.x - box.w, dpi)
                                         : Scaled(box.x + box.w, dpi);
    return RECT{left, Scaled(box.y, dpi), right, Scaled(box.y + box.h, dpi)};
}

}  // namespace ovra
