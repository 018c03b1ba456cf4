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

// `text` over what is painted there, with DrawTextW's `flags`.
void DrawTextIn(HDC dc, RECT rect, const wchar_t* text, HFONT font, uint32_t colour, UINT flags) {
    HGDIOBJ oldFont = SelectObject(dc, font);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, ColorRefFromRgb(colour));
    DrawTextW(dc, text, -1, &rect, flags | DT_NOPREFIX);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
}

}  // namespace

void PaintMainWindow(HDC dc, const RECT& client, UINT dpi, const Tool& tool, const HFONT* fonts) {
    const int w = client.right - client.left;
    for (int32_t i = 0; i < FillRowCount; ++i) FillBox(dc, ScaledRect(FillRows[i].box, dpi, w), FillRows[i].colour);
    for (int32_t i = 0; i < OutlineRowCount; ++i)
        OutlineBox(dc, ScaledRect(OutlineRows[i].box, dpi, w), OutlineRows[i].colour);
    char16_t text[LineTextCapacity];
    for (int32_t i = 0; i < TextRowCount; ++i) {
        const TextRow& row = TextRows[i];
        PaintedTextOf(row.text, tool, text, LineTextCapacity);
        const UINT align = row.align == TextAlign::Right ? DT_RIGHT : DT_LEFT;
        DrawTextIn(dc, ScaledRect(row.box, dpi, w), WideFromUtf16(text), fonts[static_cast<int>(row.font)], row.colour,
                   DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | align);
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

void DrawLabelText(const DRAWITEMSTRUCT& item, const wchar_t* text, HFONT font, LabelAlignment alignment) {
    FillBox(item.hDC, item.rcItem, Colours.panel);
    // The flags the static control uses for SS_RIGHT and SS_LEFTNOWORDWRAP.
    const UINT flags = (alignment.horizontal == TextAlign::Right ? DT_RIGHT | DT_WORDBREAK : DT_LEFT) | DT_EXPANDTABS;
    RECT rect = item.rcItem;
    if (alignment.centredVertically) {
        // DT_VCENTER centres a single line only: the lines are measured and moved down by half what is left.
        RECT lines = rect;
        HGDIOBJ oldFont = SelectObject(item.hDC, font);
        DrawTextW(item.hDC, text, -1, &lines, flags | DT_NOPREFIX | DT_CALCRECT);
        SelectObject(item.hDC, oldFont);
        const int down = (rect.bottom - lines.bottom) / 2;
        rect.top += down;
        rect.bottom += down;
    }
    DrawTextIn(item.hDC, rect, text, font, LabelColour, flags);
}

void DrawButton(const DRAWITEMSTRUCT& item, const ButtonRow& row, HFONT font, FocusMark mark) {
    const ButtonScheme& scheme = ButtonSchemeOf(row);
    FillBox(item.hDC, item.rcItem, (item.itemState & ODS_SELECTED) != 0 ? scheme.pressedFace : scheme.face);
    OutlineBox(item.hDC, item.rcItem, scheme.edge);
    DrawTextIn(item.hDC, item.rcItem, WideFromUtf16(row.caption), font, scheme.caption,
               DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    if ((item.itemState & ODS_FOCUS) == 0) return;
    // `gap` inside the one-pixel edge, clear of the caption.
    RECT outer = item.rcItem;
    InflateRect(&outer, -(mark.gap + 1), -(mark.gap + 1));
    PaintFocusFrame(item.hDC, outer, mark.width, scheme.focusMark);
}

}  // namespace ovra
