#pragma once
// Per-monitor DPI through the functions newer systems have, looked up at run time so older ones still start.
#include <windows.h>

namespace ovra {

// Per-monitor awareness where the system offers it, else system awareness.
void DeclareDpiAwareness();
UINT SystemDpi();
UINT DpiOfWindow(HWND window);
// AdjustWindowRect for a window without a menu at `dpi`.
void AdjustWindowRectForDpi(RECT& rect, DWORD style, UINT dpi);

}  // namespace ovra
