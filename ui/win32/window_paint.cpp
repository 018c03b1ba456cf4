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
    DrawTextW(dc, WideFromUtf16(text), -1, &rect, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX | align);
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

void PaintFocusFrame(HDC dc, const RECT& outer, int width, uint32_t colour) {
    RECT inner = outer;
    InflateRect(&inner, -width, -width);
    FillBox(dc, RECT{outer.left, outer.top, outer.right, inner.top}, colour);
    FillBox(dc, RECT{outer.left, inner.bottom, outer.right, outer.bottom}, colour);
    FillBox(dc, RECT{outer.left, inner.top, inner.left, inner.bottom}, colour);
    FillBox(dc, RECT{inner.right, inner.top, outer.right, inner.bottom}, colour);
}

void DrawLabelText(const DRAWITEMSTRUCT& item, const wchar_t* text, HFONT font, uint32_t colour, bool fits) {
    FillBox(item.hDC, item.rcItem, Colours.panel);
    RECT rect = item.rcItem;
    HGDIOBJ oldFont = SelectObject(item.hDC, font);
    const int oldMode = SetBkMode(item.hDC, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(item.hDC, ColorRefFromRgb(colour));
    // The flags the static control uses for SS_RIGHT and SS_LEFTNOWORDWRAP.
    const UINT flags = fits ? DT_RIGHT | DT_WORDBREAK : DT_LEFT;
    DrawTextW(item.hDC, text, -1, &rect, flags | DT_EXPANDTABS | DT_NOPREFIX);
    SetTextColor(item.hDC, oldColour);
    SetBkMode(item.hDC, oldMode);
    SelectObject(item.hDC, oldFont);
}

void DrawButton(const DRAWITEMSTRUCT& item, HFONT buttonFont, int focusMarkWidth) {
    const bool primary = item.CtlID == FirstButtonId + CalculateButton;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const uint32_t face = primary ? (pressed ? Colours.primaryPressedFace : Colours.primaryFace)
                                  : (pressed ? Colours.lightPressedFace : Colours.lightFace);
    FillBox(item.hDC, item.rcItem, face);
    OutlineBox(item.hDC, item.rcItem, primary ? Colours.primaryEdge : Colours.lightEdge);
    wchar_t caption[64];
    GetWindowTextW(item.hwndItem, caption, 64);
    RECT rect = item.rcItem;
    HGDIOBJ oldFont = SelectObject(item.hDC, buttonFont);
    const int oldMode = SetBkMode(item.hDC, TRANSPARENT);
    const COLORREF oldColour =
        SetTextColor(item.hDC, ColorRefFromRgb(primary ? Colours.primaryCaption : Colours.lightCaption));
    DrawTextW(item.hDC, caption, -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    if ((item.itemState & ODS_FOCUS) != 0) {
        // Inside the edge, clear of the caption.
        RECT mark = item.rcItem;
        InflateRect(&mark, -(focusMarkWidth + 1), -(focusMarkWidth + 1));
        PaintFocusFrame(item.hDC, mark, focusMarkWidth, primary ? Colours.focusMarkOnPrimary : Colours.focusMark);
    }
    SetTextColor(item.hDC, oldColour);
    SetBkMode(item.hDC, oldMode);
    SelectObject(item.hDC, oldFont);
}

}  // namespace ovra
