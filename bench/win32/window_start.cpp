// The calculator's window as the program opens it, timed to its first complete paint.
//   window_start.exe <report file>
#include "bench/win32/first_paint_clock.h"
#include "ui/win32/dpi.h"
#include "ui/win32/main_window.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 1;
    ovra::DeclareDpiAwareness();
    HWND window = ovra::CreateMainWindow(GetModuleHandleW(nullptr), ovra::ActiveTool());
    if (window == nullptr) return 1;
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    ovra::ReportFirstPaint(argv[1]);
    return 0;
}
