#include "ui/win32/window_layout.h"

namespace ovra {

const FontRow FontRows[FontCount] = {
    {27, FW_BOLD, L"Microsoft YaHei UI"},    // title
    {14, FW_NORMAL, L"Microsoft YaHei UI"},  // caption
    {14, FW_NORMAL, L"Microsoft YaHei UI"},  // label
    {15, FW_NORMAL, L"Microsoft YaHei UI"},  // field
    {21, FW_BOLD, L"Microsoft YaHei UI"},    // verdict
    {15, FW_NORMAL, L"Consolas"},            // report
    {15, FW_NORMAL, L"Microsoft YaHei UI"},  // button
    {12, FW_NORMAL, L"Microsoft YaHei UI"},  // small
};

const ButtonRow ButtonRows[ButtonCount] = {
    {u"计算 (F5)", {20, 668, 152, 40}}, {u"保存记录", {184, 668, 132, 40}}, {u"复制结果", {328, 668, 132, 40}},
    {u"清空重填", {472, 668, 132, 40}}, {u"关于", {616, 668, 110, 40}},
};

Box InputFieldBox(int32_t row) { return {216, InputRowTop + InputRowStep * row - 4, 152, 27}; }
Box UnitLabelBox(int32_t row) { return {374, InputRowTop + InputRowStep * row, 78, 22}; }

// In painting order; later boxes cover earlier ones.
const FillRow FillRows[] = {
    {{0, 0, FullWidth, ClientHeight}, 0xF4F7F9},  // window background
    {{0, 0, FullWidth, 88}, 0x006C96},            // header band
    {{0, 0, 8, 88}, 0x0084B0},                    // accent strip
    {{20, 96, 440, 552}, 0xFFFFFF},               // left panel
    {{476, 96, 524, 552}, 0xFFFFFF},              // right panel
    {{36, 133, 408, 1}, 0xE4EAEE},                // rule under the input caption
    {{492, 133, 492, 1}, 0xE4EAEE},               // rule under the result caption
    {{0, 660, FullWidth, 60}, 0xECF1F4},          // button bar
};
const int FillRowCount = sizeof FillRows / sizeof FillRows[0];

const FillRow OutlineRows[] = {
    {{20, 96, 440, 552}, 0xDAE2E8},
    {{476, 96, 524, 552}, 0xDAE2E8},
};
const int OutlineRowCount = sizeof OutlineRows / sizeof OutlineRows[0];

const TextRow TextRows[] = {
    {{26, 12, 700, 38}, Painted::Title, TitleFont, 0xFFFFFF, DT_LEFT},
    {{28, 48, 720, 28}, Painted::SubLine, CaptionFont, 0xD6ECF6, DT_LEFT},
    {{-240, 8, 214, 26}, Painted::WebAddress, SmallFont, 0xBEDCEB, DT_RIGHT},
    {{36, 104, 300, 30}, Painted::InputCaption, CaptionFont, 0x006C96, DT_LEFT},
    {{492, 104, 300, 30}, Painted::ResultCaption, CaptionFont, 0x006C96, DT_LEFT},
    {{740, 704, 264, 16}, Painted::Status, SmallFont, 0x78848E, DT_RIGHT},
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
