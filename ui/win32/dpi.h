#pragma once
// Per-monitor DPI through the functions newer systems have, looked up at run time so older ones still start;
// the main window's size and layout DPI on a monitor.
#include <windows.h>

namespace ovra {

// Per-monitor awareness where the system offers it, else system awareness.
void DeclareDpiAwareness();
UINT SystemDpi();
UINT DpiOfWindow(HWND window);
// AdjustWindowRect for a window without a menu at `dpi`.
void AdjustWindowRectForDpi(RECT& rect, DWORD style, UINT dpi);

// The main window's outer size with its client area laid out at `layoutDpi`, in the frame of a monitor at `dpi`.
SIZE OuterSize(UINT layoutDpi, UINT dpi);
// The layout's DPI on a monitor at `dpi` with the work area `work`: `dpi` where the window fits, else scaled
// down by the shared fit factor, rounded down so that rounding never pushes the window off the work area.
UINT FittedLayoutDpi(UINT dpi, const RECT& work);

}  // namespace ovra
