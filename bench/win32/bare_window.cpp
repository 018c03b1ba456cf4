// The yardstick: a bare Win32 window of the same size with as many child controls as the calculator's (six
// labels, six fields, three unit labels, four right-panel controls, five buttons), default fonts, no painting
// of its own.
//   bare_window.exe <report file>
#include "bench/win32/first_paint_clock.h"

namespace {

LRESULT CALLBACK BareWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

void Child(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, DWORD exStyle, int x, int y,
           int w, int h) {
    CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent, nullptr,
                    GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 1;
    SetProcessDPIAware();
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = BareWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"BareWindow";
    RegisterClassExW(&windowClass);
    RECT rect = {0, 0, 1020, 720};
    AdjustWindowRect(&rect, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, FALSE);
    HWND window = CreateWindowExW(0, L"BareWindow", L"bare", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0,
                                  rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    for (int i = 0; i < 6; ++i) {
        Child(window, L"STATIC", L"标签", SS_RIGHT, 0, 24, 151 + 34 * i, 184, 22);
        Child(window, L"EDIT", L"60", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 216, 146 + 34 * i, 152, 27);
        if (i < 3) Child(window, L"STATIC", L"mmHg", SS_LEFT, 0, 374, 150 + 34 * i, 78, 22);
    }
    Child(window, L"STATIC", L"填写左侧参数", SS_LEFT, 0, 492, 142, 492, 46);
    Child(window, L"EDIT", L"", ES_MULTILINE | ES_READONLY | WS_VSCROLL, WS_EX_CLIENTEDGE, 492, 196, 492, 232);
    Child(window, L"STATIC", L"建议", SS_LEFT, 0, 492, 444, 492, 120);
    Child(window, L"STATIC", L"参考依据", SS_LEFT, 0, 492, 576, 492, 56);
    for (int b = 0; b < 5; ++b) Child(window, L"BUTTON", L"按钮", BS_PUSHBUTTON, 0, 20 + 144 * b, 668, 132, 40);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    ovra::ReportFirstPaint(argv[1]);
    return 0;
}
