#pragma once
// The shared layout in Win32 terms: the window's style, the control ids other processes find the controls by,
// and the layout's boxes and lengths at a DPI.
#include <windows.h>

#include "ui/window_layout.h"

namespace ovra {

constexpr DWORD MainWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr int FirstButtonId = 1001;
constexpr int FirstFieldId = 2000;
constexpr int ReportBoxId = 3000;

inline double FactorOf(UINT dpi) { return static_cast<double>(dpi) / USER_DEFAULT_SCREEN_DPI; }
inline int Scaled(int32_t length, UINT dpi) { return ScaleLength(length, FactorOf(dpi)); }
// The box at `dpi`; a FullWidth or right-based box is placed against the client width `clientWidth`.
inline RECT ScaledRect(const Box& box, UINT dpi, int clientWidth) {
    const Edges edges = ScaleBox(box, FactorOf(dpi), clientWidth);
    return RECT{edges.left, edges.top, edges.right, edges.bottom};
}

}  // namespace ovra
