#include "ui/screen_fit.h"

#include "ui/window_layout.h"

namespace ovra {

double FitFactor(int32_t workWidth, int32_t workHeight, int32_t frameWidth, int32_t frameHeight, double scale) {
    const double clientWidth = ClientWidth * scale;
    const double clientHeight = ClientHeight * scale;
    const double roomWidth = static_cast<double>(workWidth) - frameWidth;
    const double roomHeight = static_cast<double>(workHeight) - frameHeight;
    if (clientWidth <= roomWidth && clientHeight <= roomHeight) return 1.0;
    double factor = roomWidth / clientWidth;
    if (roomHeight / clientHeight < factor) factor = roomHeight / clientHeight;
    // Below this the texts are unreadable: keep it, and the user moves the window to see the rest.
    return factor < MinimumFitFactor ? MinimumFitFactor : factor;
}

ScreenRect PlacedWindow(const ScreenRect& workArea, int32_t outerWidth, int32_t outerHeight) {
    const int32_t x = workArea.x + (workArea.width - outerWidth) / 2;
    const int32_t y = workArea.y + (workArea.height - outerHeight) / 2;
    return {x < workArea.x ? workArea.x : x, y < workArea.y ? workArea.y : y, outerWidth, outerHeight};
}

}  // namespace ovra
