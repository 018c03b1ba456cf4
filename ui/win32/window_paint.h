#pragma once
// Painting of the main window and of its owner-drawn buttons; geometry from window_layout.h, no decisions.
#include <windows.h>

#include "ui/frontend.h"
#include "ui/win32/window_layout.h"

namespace ovra {

void PaintMainWindow(HDC dc, const RECT& client, UINT dpi, const FrontEnd& state, const HFONT* fonts);
void DrawButton(const DRAWITEMSTRUCT& item, HFONT buttonFont);

}  // namespace ovra
