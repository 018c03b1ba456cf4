#pragma once
// Painting of the main window and of its owner-drawn controls, from the shared layout's rows; no decisions.
#include <windows.h>

#include "ui/win32/window_layout.h"

namespace ovra {

void PaintMainWindow(HDC dc, const RECT& client, UINT dpi, const Tool& tool, const HFONT* fonts);
// The button of `row`, with the focus mark inside its edge when it has the focus.
void DrawButton(const DRAWITEMSTRUCT& item, const ButtonRow& row, HFONT font, FocusMark mark);
// A frame `width` pixels wide inside `outer`.
void PaintFocusFrame(HDC dc, const RECT& outer, int width, uint32_t colour);
// The text of an owner-drawn label with its line break, as a static control draws it.
void DrawLabelText(const DRAWITEMSTRUCT& item, const wchar_t* text, HFONT font, LabelAlignment alignment);

}  // namespace ovra
