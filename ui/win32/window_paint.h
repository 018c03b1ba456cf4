#pragma once
// Painting of the main window and of its owner-drawn buttons; geometry from window_layout.h, no decisions.
#include <windows.h>

#include "ui/frontend.h"
#include "ui/win32/window_layout.h"

namespace ovra {

void PaintMainWindow(HDC dc, const RECT& client, UINT dpi, const FrontEnd& state, const HFONT* fonts);
// `focusMarkWidth`: the focus mark's line in pixels, drawn when the button has the focus.
void DrawButton(const DRAWITEMSTRUCT& item, HFONT buttonFont, int focusMarkWidth);
// A frame `width` pixels wide inside `outer`.
void PaintFocusFrame(HDC dc, const RECT& outer, int width, uint32_t colour);
// The text of an owner-drawn label with its line break, as a static control draws it.
void DrawLabelText(const DRAWITEMSTRUCT& item, const wchar_t* text, HFONT font, uint32_t colour, bool fits);

}  // namespace ovra
