#include "ui/win32/window_paint.h"

#include "ui/win32/wide_text.h"

namespace ovra {
namespace {

void FillBox(HDC dc, const RECT& rect, uint32_t colour) {
    HBRUSH brush = CreateSolidBrush(ColorRefFromRgb(colour));
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

void OutlineBox(HDC dc, const RECT& rect, uint32_t colour) {
    HPEN pen = CreatePen(PS_SOLID, 1, ColorRefFromRgb(colour));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
    Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

void DrawTextBox(HDC dc, RECT rect, const char16_t* text, uint32_t colour, HFONT font, UINT align) {
    HGDIOBJ oldFont = SelectObject(dc, font);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, ColorRefFromRgb(colour));
    DrawTextW(dc, WideFromUtf16(text), -1, &rect,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX | align);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
}

const char16_t* PaintedText(Painted which, const FrontEnd& state, char16_t* subLine, int32_t capacity) {
    switch (which) {
        case Painted::Title:
            return state.tool->title;
        case Painted::SubLine:
            SubLineText(*state.tool, subLine, capacity);
            return subLine;
        case Painted::WebAddress:
            return WebAddress;
        case Painted::InputCaption:
            return u"输入参数";
        case Painted::ResultCaption:
            return u"计算结果";
        case Painted::Status:
            return state.statusText;
    }
    return u"";
}

}  // namespace

void PaintMainWindow(HDC dc, const RECT& client, UINT dpi, const FrontEnd& state, const HFONT* fonts) {
    const int w = client.right - client.left;
    for (int i = 0; i < FillRowCount; ++i) FillBox(dc, ScaledRect(FillRows[i].box, dpi, w), FillRows[i].colour);
    for (int i = 0; i < OutlineRowCount; ++i)
        OutlineBox(dc, ScaledRect(OutlineRows[i].box, dpi, w), OutlineRows[i].colour);
    char16_t subLine[LineTextCapacity];
    for (int i = 0; i < TextRowCount; ++i) {
        const TextRow& row = TextRows[i];
        DrawTextBox(dc, ScaledRect(row.box, dpi, w), PaintedText(row.text, state, subLine, LineTextCapacity),
                    row.colour, fonts[row.font], row.align);
    }
}

void DrawButton(const DRAWITEMSTRUCT& item, HFONT buttonFont) {
    const bool primary = item.CtlID == FirstButtonId + CalculateButton;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const uint32_t face = primary ? (pressed ? 0x00648A : 0x007AA8) : (pressed ? 0xE2EAF0 : 0xFFFFFF);
    FillBox(item.hDC, item.rcItem, face);
    OutlineBox(item.hDC, item.rcItem, primary ? 0x006A94 : 0xCED8E0);
    wchar_t caption[64];
    GetWindowTextW(item.hwndItem, caption, 64);
    RECT rect = item.rcItem;
    HGDIOBJ oldFont = SelectObject(item.hDC, buttonFont);
    const int oldMode = SetBkMode(item.hDC, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(item.hDC, ColorRefFromRgb(primary ? 0xFFFFFF : 0x2C3842));
    DrawTextW(item.hDC, caption, -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    SetTextColor(item.hDC, oldColour);
    SetBkMode(item.hDC, oldMode);
    SelectObject(item.hDC, oldFont);
}

}  // namespace ovra
