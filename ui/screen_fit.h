#pragma once
// How much the whole window must shrink to fit the screen's work area: one factor for every box and font
// height, so the layout keeps its proportions. Both shells compute it here at start and on a screen or DPI
// change.
#include <cstdint>

namespace ovra {

constexpr double MinimumFitFactor = 0.6;

// The window's client area at 100 % is ClientWidth×ClientHeight. `scale` is the platform's scale for the current screen
// (1.0 at 96 DPI, 1.5 at 144 DPI); the work area and the frame are in the same device pixels as the client
// area at that scale. Returns 1 when the client area at `scale` plus the frame fits; else the largest factor
// that makes it fit, never below MinimumFitFactor.
double FitFactor(int32_t workWidth, int32_t workHeight, int32_t frameWidth, int32_t frameHeight, double scale);

// Where the window, frame included, stands in the work area: centred; a window larger than the work area keeps
// its top left corner, and so its caption, on the screen.
struct ScreenRect {
    int32_t x, y, width, height;
};
ScreenRect PlacedWindow(const ScreenRect& workArea, int32_t outerWidth, int32_t outerHeight);

}  // namespace ovra
