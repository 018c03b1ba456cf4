#include "ui/win32/dpi.h"

#include "ui/screen_fit.h"
#include "ui/win32/window_layout.h"

namespace ovra {
namespace {

template <class Function>
Function User32Function(const char* name) {
    // Loaded, not looked for: user32 is delay-loaded, so it may not be in the process yet (it never is when the
    // awareness is declared), and then the newer calls would never be found.
    static const HMODULE user32 = LoadLibraryW(L"user32.dll");
    FARPROC address = user32 != nullptr ? GetProcAddress(user32, name) : nullptr;
    // Through the generic function type, which converts to any other without a warning.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

using SetAwarenessContext = BOOL(WINAPI*)(HANDLE);
using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

const HANDLE PerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));

}  // namespace

void DeclareDpiAwareness() {
    const auto setContext = User32Function<SetAwarenessContext>("SetProcessDpiAwarenessContext");
    // The manifest normally has declared it already, and then the call fails harmlessly.
    if (setContext != nullptr && setContext(PerMonitorAwareV2)) return;
    SetProcessDPIAware();
}

UINT SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : USER_DEFAULT_SCREEN_DPI;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

UINT DpiOfWindow(HWND window) {
    static const auto getDpi = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    const UINT dpi = getDpi != nullptr ? getDpi(window) : 0;
    return dpi != 0 ? dpi : SystemDpi();
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, UINT dpi) {
    static const auto adjust = User32Function<AdjustForDpiFunction>("AdjustWindowRectExForDpi");
    if (adjust == nullptr || !adjust(&rect, style, FALSE, 0, dpi)) AdjustWindowRect(&rect, style, FALSE);
}

SIZE OuterSize(UINT layoutDpi, UINT dpi) {
    RECT rect = {0, 0, Scaled(ClientWidth, layoutDpi), Scaled(ClientHeight, layoutDpi)};
    AdjustWindowRectForDpi(rect, MainWindowStyle, dpi);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

UINT FittedLayoutDpi(UINT dpi, const RECT& work) {
    RECT frame = {0, 0, 0, 0};
    AdjustWindowRectForDpi(frame, MainWindowStyle, dpi);
    const double factor = FitFactor(work.right - work.left, work.bottom - work.top, frame.right - frame.left,
                                    frame.bottom - frame.top, FactorOf(dpi));
    if (factor >= 1.0) return dpi;
    const UINT fitted = static_cast<UINT>(dpi * factor);
    return fitted > 0 ? fitted : 1;
}

}  // namespace ovra
